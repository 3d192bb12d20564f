// The component's texts: the module's own string table where the system
// gives modules one (so that a translated resource section changes them
// without a rebuild), otherwise, and for a module without the table (a test
// program), the list compiled in.
#include "resources/resource_strings.h"

#include "platform/module_resource.h"

namespace qarvex {
namespace {

WString CompiledString(StringId id) {
  switch (id) {
#define QARVEX_STRING(name, number, text) \
  case StringId::name:                    \
    return text;
#include "resources/string_table.inc"
#undef QARVEX_STRING
  }
  return WString();
}

}  // namespace

WString ResString(StringId id) {
  if (auto text = platform::ModuleString(static_cast<unsigned>(id))) return *std::move(text);
  return CompiledString(id);
}

}  // namespace qarvex
