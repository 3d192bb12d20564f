#include "platform/linux/locale_separators.h"

#include "common/text.h"

namespace qarvex::platform::linux_impl {

char16_t FirstCharacter(std::string_view utf8, char16_t fallback) {
  const WString text = FromUtf8(utf8);
  if (text.empty() || text.front() == u'\xFFFD') return fallback;
  return text.front();
}

char16_t SeparatorOfFormat(std::string_view pattern, char16_t fallback) {
  size_t i = 0;
  while (i < pattern.size()) {
    if (pattern[i] != '%') return FirstCharacter(pattern.substr(i), fallback);
    ++i;
    // Flags, width and the E/O modifiers before the conversion letter.
    while (i < pattern.size() && std::string_view("_-0^#EO123456789").find(pattern[i]) != std::string_view::npos) ++i;
    if (i >= pattern.size()) break;
    switch (pattern[i]) {
      case 'D': case 'x': return u'/';
      case 'F': return u'-';
      case 'T': case 'R': case 'X': return u':';
      case '%': return u'%';
      default: ++i;
    }
  }
  return fallback;
}

}  // namespace qarvex::platform::linux_impl
