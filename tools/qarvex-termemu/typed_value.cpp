#include "tools/qarvex-termemu/typed_value.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "common/c_number.h"
#include "common/text.h"
#include "tools/qarvex-termemu/failures.h"

namespace qarvex::cli {

using nativehost::HostValue;

namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// A finite double from the whole of `text` (C syntax, "." as separator).
bool ParseDouble(std::string_view text, double& out) {
  double value = 0;
  if (!ParseCNumber(text, value) || !std::isfinite(value)) return false;
  out = value;
  return true;
}

// The shortest decimal text that reads back as the same double.
std::string NumberText(double value) {
  char buffer[64];
  for (int precision = 15; precision <= 17; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    double back = 0;
    if (ParseDouble(buffer, back) && back == value) break;
  }
  return buffer;
}

}  // namespace

bool HasTypePrefix(std::string_view argument) {
  if (argument == "empty") return true;
  return argument.size() >= 2 && argument[1] == ':' &&
         std::string_view("snibaSNIBA").find(argument[0]) != std::string_view::npos;
}

HostValue ParseTypedValue(std::string_view argument) {
  if (argument == "empty") return HostValue();
  if (!HasTypePrefix(argument))
    throw UsageError("the argument " + Quoted(argument) +
                     " has no type: write s:TEXT, n:NUMBER, i:INTEGER, b:true or b:false, a:TEXT or empty");
  const char type = static_cast<char>(argument[0] | 0x20);  // either letter case
  const std::string_view body = argument.substr(2);
  switch (type) {
    case 's': return HostValue(FromUtf8(body));
    case 'a': return HostValue::Ansi(std::string(body));
    case 'n': {
      double number = 0;
      if (!ParseDouble(body, number))
        throw UsageError("the argument " + Quoted(argument) + " is not a number (write e.g. n:100.5)");
      return HostValue(number);
    }
    case 'i': {
      int number = 0;
      if (!TryParseInt32(FromUtf8(body), number))
        throw UsageError("the argument " + Quoted(argument) + " is not a 32-bit integer (write e.g. i:5)");
      return HostValue(number);
    }
    default: {
      const std::string word = Lower(body);
      if (word != "true" && word != "false")
        throw UsageError("the argument " + Quoted(argument) + " is not a Boolean (write b:true or b:false)");
      return HostValue(word == "true");
    }
  }
}

std::string TypedValueText(const HostValue& value) {
  switch (value.kind()) {
    case HostValue::Kind::Empty: return "empty";
    case HostValue::Kind::Int: return "i:" + std::to_string(value.AsInt());
    case HostValue::Kind::Double: return "n:" + NumberText(value.AsDouble());
    case HostValue::Kind::Bool: return value.AsBool() ? "b:true" : "b:false";
    case HostValue::Kind::Text: return "s:" + ToUtf8(value.AsText());
    case HostValue::Kind::AnsiText: return "a:" + value.AsBytes();
    case HostValue::Kind::Date: return "date " + NumberText(value.AsDouble());
    case HostValue::Kind::DateTime: {
      const auto t = value.AsBroken();
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "date-time %04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                    t.minute, t.second);
      return buffer;
    }
    case HostValue::Kind::Blob: return "blob of " + std::to_string(value.AsBytes().size()) + " bytes";
    case HostValue::Kind::RawType: return "value of type " + std::to_string(value.RawTypeWord());
  }
  return "?";
}

std::string PlainValueText(const HostValue& value) {
  switch (value.kind()) {
    case HostValue::Kind::Int: return std::to_string(value.AsInt());
    case HostValue::Kind::Double: return NumberText(value.AsDouble());
    case HostValue::Kind::Bool: return value.AsBool() ? "true" : "false";
    case HostValue::Kind::Text: return ToUtf8(value.AsText());
    default: return TypedValueText(value);
  }
}

double ParseAmount(std::string_view text, std::string_view what) {
  std::string normal(text);
  std::size_t start = !normal.empty() && normal[0] == '-' ? 1 : 0;
  const std::size_t separator = normal.find_first_of(".,", start);
  bool wellFormed = AllDigits(std::string_view(normal).substr(start, separator - start));
  if (separator != std::string::npos) {
    normal[separator] = '.';
    wellFormed = wellFormed && AllDigits(std::string_view(normal).substr(separator + 1));
  }
  double amount = 0;
  if (!wellFormed || !ParseDouble(normal, amount))
    throw UsageError(std::string(what) + " " + Quoted(text) + " is not an amount (write e.g. 1500, 99.9 or 99,9)");
  return amount;
}

std::string ParseReceiptNumber(std::string_view text) {
  int number = 0;
  if (!AllDigits(text) || !TryParseInt32(FromUtf8(text), number))
    throw UsageError("the receipt number " + Quoted(text) +
                     " is not a receipt number (write the number the operation printed, e.g. 000001)");
  return std::string(text);
}

int ParseInteger(std::string_view text, std::string_view what) {
  int number = 0;
  if (!TryParseInt32(FromUtf8(text), number))
    throw UsageError(std::string(what) + " " + Quoted(text) + " is not an integer");
  return number;
}

bool ParseBoolean(std::string_view text, std::string_view what) {
  const std::string word = Lower(text);
  if (word == "true" || word == "1" || word == "yes") return true;
  if (word == "false" || word == "0" || word == "no") return false;
  throw UsageError(std::string(what) + " " + Quoted(text) + " is not true or false");
}

}  // namespace qarvex::cli
