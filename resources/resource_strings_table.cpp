// String table compiled into the code, for platforms without module resources.
#include "resources/resource_strings.h"

namespace qarvex {

WString ResString(StringId id) {
  switch (id) {
#define QARVEX_STRING(name, number, text) \
  case StringId::name:                    \
    return text;
#include "resources/string_table.inc"
#undef QARVEX_STRING
  }
  return WString();
}

}  // namespace qarvex
