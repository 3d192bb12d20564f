// The component's texts from the module's string table, so that a
// translated resource section changes them without a rebuild. A module
// without the table (a test program) uses the list compiled in.
#include "resources/resource_strings.h"

#include <windows.h>

#include "platform/windows/win_system.h"

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
  const wchar_t* text = nullptr;
  // With a zero buffer size LoadStringW hands out a read-only pointer into
  // the resource itself (not zero-terminated) and returns its length.
  const int length = ::LoadStringW(platform::windows_impl::OwnModule(), static_cast<UINT>(id),
                                   reinterpret_cast<LPWSTR>(&text), 0);
  if (length > 0 && text) return platform::windows_impl::FromWide(text, static_cast<std::size_t>(length));
  return CompiledString(id);
}

}  // namespace qarvex
