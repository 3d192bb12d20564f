#include "tools/host/host_value.h"

#include <iomanip>

namespace qarvex::nativehost {

HostValue HostValue::Date(double days) {
  HostValue v;
  v.kind_ = Kind::Date;
  v.double_ = days;
  return v;
}

HostValue HostValue::DateTime(Broken t) {
  HostValue v;
  v.kind_ = Kind::DateTime;
  v.broken_ = t;
  return v;
}

HostValue HostValue::Ansi(std::string bytes) {
  HostValue v;
  v.kind_ = Kind::AnsiText;
  v.bytes_ = std::move(bytes);
  return v;
}

HostValue HostValue::Blob(std::vector<std::uint8_t> bytes) {
  HostValue v;
  v.kind_ = Kind::Blob;
  v.bytes_.assign(bytes.begin(), bytes.end());
  return v;
}

HostValue HostValue::Raw(std::uint32_t typeWord) {
  HostValue v;
  v.kind_ = Kind::RawType;
  v.raw_ = typeWord;
  return v;
}

bool HostValue::operator==(const HostValue& o) const {
  if (kind_ != o.kind_) return false;
  switch (kind_) {
    case Kind::Empty: return true;
    case Kind::Int: return int_ == o.int_;
    case Kind::Double:
    case Kind::Date: return double_ == o.double_;
    case Kind::Bool: return bool_ == o.bool_;
    case Kind::Text: return text_ == o.text_;
    case Kind::DateTime: return broken_ == o.broken_;
    case Kind::AnsiText:
    case Kind::Blob: return bytes_ == o.bytes_;
    case Kind::RawType: return raw_ == o.raw_;
  }
  return false;
}

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string Utf16(std::string_view utf8) {
  std::u16string out;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    char32_t cp = c;
    size_t extra = 0;
    if (c >= 0xF0) cp = c & 0x07, extra = 3;
    else if (c >= 0xE0) cp = c & 0x0F, extra = 2;
    else if (c >= 0xC0) cp = c & 0x1F, extra = 1;
    else if (c >= 0x80) cp = 0xFFFD;
    bool ok = i + extra < utf8.size() || extra == 0;
    for (size_t k = 1; ok && k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (next & 0x3F);
    }
    if (!ok) {
      out += u'\xFFFD';
      ++i;
      continue;
    }
    i += 1 + extra;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::ostream& operator<<(std::ostream& out, const HostValue& v) {
  switch (v.kind()) {
    case HostValue::Kind::Empty: return out << "<empty>";
    case HostValue::Kind::Int: return out << "int " << v.AsInt();
    case HostValue::Kind::Double: return out << "double " << std::setprecision(17) << v.AsDouble();
    case HostValue::Kind::Date: return out << "date " << std::setprecision(17) << v.AsDouble();
    case HostValue::Kind::Bool: return out << (v.AsBool() ? "true" : "false");
    case HostValue::Kind::Text:
      out << "text \"";
      out << Utf8(v.AsText());
      return out << "\"";
    case HostValue::Kind::DateTime: {
      auto t = v.AsBroken();
      return out << "tm " << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":"
                 << t.minute << ":" << t.second;
    }
    case HostValue::Kind::AnsiText: return out << "ansi \"" << v.AsBytes() << "\"";
    case HostValue::Kind::Blob: return out << "blob of " << v.AsBytes().size() << " bytes";
    case HostValue::Kind::RawType: return out << "type word 0x" << std::hex << v.RawTypeWord() << std::dec;
  }
  return out;
}

}  // namespace qarvex::nativehost
