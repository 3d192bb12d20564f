// Data carried by the component's module in the system's resource format
// (Windows: the DLL's RCDATA and string-table resources). The Linux library
// carries none.
#pragma once

#include <optional>
#include <string>

#include "common/text.h"

namespace qarvex::platform {

// The bytes of the raw-data resource `name`, or nullopt when the module has none.
std::optional<std::string> ModuleRawResource(WStringView name);

// The module's string-table entry `id`, or nullopt when the module has none.
std::optional<WString> ModuleString(unsigned id);

}  // namespace qarvex::platform
