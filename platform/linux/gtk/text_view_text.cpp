#include "platform/linux/gtk/text_view_text.h"

namespace qarvex::platform::gtk_ui {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Length in UTF-16 units of the text element (one text-view character)
// starting at `i`: a CR LF pair and a surrogate pair are one character.
std::size_t ElementLength(WStringView text, std::size_t i) {
  if (i + 1 < text.size()) {
    if (text[i] == u'\r' && text[i + 1] == u'\n') return 2;
    if (IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1])) return 2;
  }
  return 1;
}

}  // namespace

std::string ToTextViewText(WStringView text) {
  WString lines;
  lines.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      lines += u'\n';
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      lines += text[i];
    }
  }
  return ToUtf8(lines);
}

std::size_t FormOffsetOf(WStringView text, std::size_t characters) {
  std::size_t units = 0;
  for (std::size_t n = 0; n < characters && units < text.size(); ++n) units += ElementLength(text, units);
  return units;
}

std::size_t TextViewOffsetOf(WStringView text, std::size_t units) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = ElementLength(text, i);
    if (i + length > units) break;
    i += length;
    ++characters;
  }
  return characters;
}

}  // namespace qarvex::platform::gtk_ui
