#include "tools/host/host_value.h"

#include <iomanip>

namespace qarvex::testhost {

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

namespace {
void WriteUtf16(std::ostream& out, const std::u16string& text) {
  // Enough UTF-8 for readable failure messages (no surrogate pairs needed).
  for (char16_t c : text) {
    if (c < 0x80) {
      out << static_cast<char>(c);
    } else if (c < 0x800) {
      out << static_cast<char>(0xC0 | (c >> 6)) << static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out << static_cast<char>(0xE0 | (c >> 12)) << static_cast<char>(0x80 | ((c >> 6) & 0x3F))
          << static_cast<char>(0x80 | (c & 0x3F));
    }
  }
}
}  // namespace

std::ostream& operator<<(std::ostream& out, const HostValue& v) {
  switch (v.kind()) {
    case HostValue::Kind::Empty: return out << "<empty>";
    case HostValue::Kind::Int: return out << "int " << v.AsInt();
    case HostValue::Kind::Double: return out << "double " << std::setprecision(17) << v.AsDouble();
    case HostValue::Kind::Date: return out << "date " << std::setprecision(17) << v.AsDouble();
    case HostValue::Kind::Bool: return out << (v.AsBool() ? "true" : "false");
    case HostValue::Kind::Text:
      out << "text \"";
      WriteUtf16(out, v.AsText());
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

}  // namespace qarvex::testhost
