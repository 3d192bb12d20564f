// A host variant as a plain C++ value: what tests hand to the component as
// parameters and property values, and what they read back. Independent of
// the variant's binary layout, which only the host implementation knows.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace qarvex::nativehost {

// UTF-8 of host text and back, for messages, files and command lines.
// Written here rather than taken from the component, so that tests reading
// the component's texts do not share its conversion; a malformed sequence
// becomes U+FFFD.
std::string Utf8(std::u16string_view text);
std::u16string Utf16(std::string_view utf8);

class HostValue {
 public:
  enum class Kind {
    Empty,
    Int,       // 32-bit integer (type 3)
    Double,    // type 5
    Bool,      // type 11
    Text,      // UTF-16 text in host memory (type 22)
    Date,      // days since 1899-12-30 as a double (type 6)
    DateTime,  // broken-down time (type 7), fields as people write them
    AnsiText,  // byte text in host memory (type 8)
    Blob,      // bytes in host memory (type 23)
    RawType,   // any other type word, value part zero (for refusal tests)
  };
  struct Broken {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
    bool operator==(const Broken&) const = default;
  };

  HostValue() = default;
  HostValue(int v) : kind_(Kind::Int), int_(v) {}
  HostValue(double v) : kind_(Kind::Double), double_(v) {}
  HostValue(bool v) : kind_(Kind::Bool), bool_(v) {}
  HostValue(std::u16string v) : kind_(Kind::Text), text_(std::move(v)) {}
  HostValue(const char16_t* v) : kind_(Kind::Text), text_(v) {}

  static HostValue Date(double days);
  static HostValue DateTime(Broken t);
  static HostValue Ansi(std::string bytes);
  static HostValue Blob(std::vector<std::uint8_t> bytes);
  // A value whose whole 32-bit type word is `typeWord` and whose value part
  // is zero.
  static HostValue Raw(std::uint32_t typeWord);

  Kind kind() const { return kind_; }
  bool IsEmpty() const { return kind_ == Kind::Empty; }
  // Accessors; each is meaningful only for its own kind.
  int AsInt() const { return int_; }
  double AsDouble() const { return double_; }
  bool AsBool() const { return bool_; }
  const std::u16string& AsText() const { return text_; }
  const std::string& AsBytes() const { return bytes_; }  // AnsiText and Blob
  Broken AsBroken() const { return broken_; }
  std::uint32_t RawTypeWord() const { return raw_; }

  bool operator==(const HostValue& other) const;

 private:
  Kind kind_ = Kind::Empty;
  int int_ = 0;
  double double_ = 0;
  bool bool_ = false;
  std::u16string text_;
  std::string bytes_;
  Broken broken_;
  std::uint32_t raw_ = 0;
};

// For readable test failures.
std::ostream& operator<<(std::ostream& out, const HostValue& value);

}  // namespace qarvex::nativehost
