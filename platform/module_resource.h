// Raw data carried by the component's module (Windows: an RCDATA resource of
// the DLL). The Linux library carries no such data.
#pragma once

#include <optional>
#include <string>

#include "common/text.h"

namespace qarvex::platform {

// The bytes of the raw-data resource `name`, or nullopt when the module has none.
std::optional<std::string> ModuleRawResource(WStringView name);

}  // namespace qarvex::platform
