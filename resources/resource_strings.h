// Access to the component's string table (see string_table.inc).
#pragma once

#include "common/text.h"

namespace qarvex {

enum class StringId : unsigned {
#define QARVEX_STRING(name, number, text) name = number,
#include "resources/string_table.inc"
#undef QARVEX_STRING
};

// The text of a string-table entry (loaded from the module's resources where
// the platform has them). Never empty for an identifier of the list.
WString ResString(StringId id);

}  // namespace qarvex
