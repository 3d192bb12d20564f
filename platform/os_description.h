// A one-line description of the operating system for the log banner, e.g.
// "Windows 10 (10.0.19045)" or "Debian GNU/Linux 12 (bookworm) 6.1.0-18-amd64".
#pragma once

#include "common/text.h"

namespace qarvex::platform {

WString OsDescription();

}  // namespace qarvex::platform
