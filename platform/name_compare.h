// Comparison of member names the host asks for (case-sensitive; Windows uses
// the user default locale's comparison, elsewhere exact UTF-16 equality).
#pragma once

#include "common/text.h"

namespace qarvex::platform {

bool NamesEqual(WStringView a, WStringView b);

}  // namespace qarvex::platform
