// Separators derived from a locale's date and time formats (the strftime
// patterns of nl_langinfo D_FMT and T_FMT).
#pragma once

#include <string_view>

namespace qarvex::platform::linux_impl {

// The first literal character between conversions of a strftime pattern,
// e.g. '.' for "%d.%m.%Y" and ':' for "%H:%M:%S". Composite conversions
// stand for their own separators (%D and %x '/', %F '-', %T, %R and %X
// ':'). `fallback` when the pattern shows none. The pattern is UTF-8.
char16_t SeparatorOfFormat(std::string_view pattern, char16_t fallback);

// The first character of a UTF-8 text such as RADIXCHAR, or `fallback`
// for an empty or malformed text.
char16_t FirstCharacter(std::string_view utf8, char16_t fallback);

}  // namespace qarvex::platform::linux_impl
