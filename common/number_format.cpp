#include "common/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/c_number.h"
#include "common/error.h"

namespace qarvex {

WString FormatGeneral(double value, char16_t decimalSeparator) {
  if (std::isnan(value)) return u"NAN";
  if (std::isinf(value)) return value > 0 ? u"INF" : u"-INF";
  if (value == 0) return u"0";
  char buf[64];
  const int printed = std::snprintf(buf, sizeof buf, "%.14e", value);  // d.dddddddddddddde+XX: 15 digits
  // The C library's text is read no further than it says it wrote, and a
  // text without its exponent is refused rather than searched past its end.
  const std::string s(buf, printed > 0 && printed < static_cast<int>(sizeof buf) ? static_cast<size_t>(printed) : 0);
  const size_t ePos = s.find('e');
  if (ePos == std::string::npos) throw Failure("Cannot format the number");
  const int exponent = std::atoi(s.c_str() + ePos + 1);
  const bool negative = s[0] == '-';
  std::string digits;
  for (size_t i = negative ? 1 : 0; i < ePos; ++i)
    if (s[i] != '.') digits += s[i];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= 15 || exponent < -5) {
    out += digits[0];
    if (digits.size() > 1) out += '.' + digits.substr(1);
    char ebuf[16];
    std::snprintf(ebuf, sizeof ebuf, "E%+03d", exponent);
    out += ebuf;
  } else if (exponent < 0) {
    out += "0." + std::string(-exponent - 1, '0') + digits;
  } else {
    const size_t intDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= intDigits) {
      out += digits + std::string(intDigits - digits.size(), '0');
    } else {
      out += digits.substr(0, intDigits) + '.' + digits.substr(intDigits);
    }
  }
  WString w = AsciiToW(out);
  for (auto& ch : w)
    if (ch == u'.') ch = decimalSeparator;
  return w;
}

bool TryParseReal(WStringView text, char16_t decimalSeparator, double& out) {
  WString trimmed = TrimBlanksAndControls(text);
  if (trimmed.empty()) return false;
  std::string ascii;
  for (char16_t ch : trimmed) {
    if (ch == decimalSeparator) {
      ascii += '.';
    } else if ((ch >= u'0' && ch <= u'9') || ch == u'+' || ch == u'-' || ch == u'e' || ch == u'E') {
      ascii += static_cast<char>(ch);
    } else {
      return false;
    }
  }
  std::string_view number(ascii);
  if (number.front() == '+') number.remove_prefix(1);
  return ParseCNumber(number, out);
}

double RoundHalfEven(double value) {
  return std::nearbyint(value);  // default rounding mode is to nearest, ties to even
}

Currency DoubleToCurrency(double value) {
  const double scaled = RoundHalfEven(value * static_cast<double>(kCurrencyScale));
  if (!std::isfinite(scaled) || scaled >= 9.2233720368547758e18 || scaled < -9.2233720368547758e18)
    throw Failure("Amount out of range");
  return static_cast<Currency>(scaled);
}

double CurrencyToDouble(Currency value) {
  return static_cast<double>(value) / static_cast<double>(kCurrencyScale);
}

WString FormatCurrency(Currency value, char16_t decimalSeparator) {
  const bool negative = value < 0;
  const unsigned long long magnitude =
      negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  WString text = IntToText(static_cast<long long>(magnitude / kCurrencyScale));
  WString fraction = IntToText(static_cast<long long>(magnitude % kCurrencyScale), 4);
  while (!fraction.empty() && fraction.back() == u'0') fraction.pop_back();
  if (!fraction.empty()) text += decimalSeparator + fraction;
  return negative ? u"-" + text : text;
}

}  // namespace qarvex
