#include "common/text.h"

#include <climits>

namespace qarvex {

// Written through a pointer into a buffer of the largest size the text can
// take (three bytes per UTF-16 unit), then cut to length: the log converts
// every line, and appending byte by byte cost more than the line's write.
std::string ToUtf8(WStringView text) {
  std::string out;
  AppendUtf8(out, text);
  return out;
}

void AppendUtf8(std::string& out, WStringView text) {
  // A leading ASCII run, often the whole text, goes in in one pass without
  // the worst-case room the rest needs.
  {
    const size_t at = out.size();
    out.resize(at + text.size());
    char* p = out.data() + at;
    size_t k = 0;
    for (; k < text.size() && text[k] < 0x80; ++k) p[k] = static_cast<char>(text[k]);
    if (k == text.size()) return;
    out.resize(at + k);
    text.remove_prefix(k);
  }
  const size_t start = out.size();
  out.resize(start + text.size() * 3);
  char* p = out.data() + start;
  const auto put = [&p](char32_t byte) { *p++ = static_cast<char>(byte); };
  const size_t size = text.size();
  for (size_t i = 0; i < size; ++i) {
    // Runs of ASCII, the bulk of log lines and paths, eight units at a time.
    while (i + 8 <= size) {
      char16_t any = 0;
      for (size_t k = 0; k < 8; ++k) any |= text[i + k];
      if (any >= 0x80) break;
      for (size_t k = 0; k < 8; ++k) p[k] = static_cast<char>(text[i + k]);
      p += 8;
      i += 8;
    }
    if (i == size) break;
    char32_t cp = text[i];
    if (cp < 0x80) {
      put(cp);
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() &&
        text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // lone surrogate
    }
    if (cp < 0x800) {
      put(0xC0 | (cp >> 6));
      put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      put(0xE0 | (cp >> 12));
      put(0x80 | ((cp >> 6) & 0x3F));
      put(0x80 | (cp & 0x3F));
    } else {  // a surrogate pair: four bytes for two units
      put(0xF0 | (cp >> 18));
      put(0x80 | ((cp >> 12) & 0x3F));
      put(0x80 | ((cp >> 6) & 0x3F));
      put(0x80 | (cp & 0x3F));
    }
  }
  out.resize(static_cast<size_t>(p - out.data()));
}

WString FromUtf8(std::string_view text) {
  WString out;
  out.reserve(text.size());
  size_t i = 0;
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  while (i < text.size()) {
    unsigned char c = byte(i);
    char32_t cp;
    size_t len;
    if (c < 0x80) { cp = c; len = 1; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; len = 2; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; len = 3; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; len = 4; }
    else { out += u'\xFFFD'; ++i; continue; }
    bool ok = i + len <= text.size();
    for (size_t k = 1; ok && k < len; ++k) {
      if ((byte(i + k) & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += u'\xFFFD';
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += len;
  }
  return out;
}

WStringView TrimmedOfBlanksAndControls(WStringView text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] <= u' ') ++b;
  while (e > b && text[e - 1] <= u' ') --e;
  return text.substr(b, e - b);
}

WString TrimBlanksAndControls(WStringView text) { return WString(TrimmedOfBlanksAndControls(text)); }

void AppendIntText(WString& out, long long value, int minDigits) {
  const bool negative = value < 0;
  unsigned long long magnitude =
      negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  // Filled from the end: 20 digits hold any magnitude.
  char16_t buffer[20];
  char16_t* first = buffer + 20;
  do {
    *--first = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  const size_t digits = static_cast<size_t>(buffer + 20 - first);
  if (negative) out += u'-';
  if (minDigits > 0 && static_cast<size_t>(minDigits) > digits) out.append(minDigits - digits, u'0');
  out.append(first, digits);
}

WString IntToText(long long value, int minDigits) {
  WString text;
  AppendIntText(text, value, minDigits);
  return text;
}

bool TryParseInt32(WStringView text, int& out) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (i == text.size()) return false;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return false;
    value = value * 10 + (text[i] - u'0');
    if (value > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) value = -value;
  if (value < INT_MIN || value > INT_MAX) return false;
  out = static_cast<int>(value);
  return true;
}

WString AsciiToW(std::string_view ascii) {
  return WString(ascii.begin(), ascii.end());
}

}  // namespace qarvex
