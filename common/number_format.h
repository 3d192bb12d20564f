// Number <-> text in the "general" form people read on slips and in traces:
// up to 15 significant digits, the regional decimal separator, no thousands
// separators, no trailing zeros; scientific form only for very large or very
// small magnitudes.
#pragma once

#include <cstdint>

#include "common/text.h"

namespace qarvex {

WString FormatGeneral(double value, char16_t decimalSeparator);

// Parses an optionally signed real number written with `decimalSeparator`
// (and an optional exponent). Leading and trailing blanks are allowed.
// A '.' is not accepted when the separator is something else.
bool TryParseReal(WStringView text, char16_t decimalSeparator, double& out);

// Amounts: a signed 64-bit count of ten-thousandths of the currency unit.
using Currency = std::int64_t;
inline constexpr Currency kCurrencyScale = 10000;

// value x 10000 rounded to the nearest integer, ties to even. Throws Failure
// when the result does not fit in 64 bits (or the value is not finite).
Currency DoubleToCurrency(double value);
double CurrencyToDouble(Currency value);

// Rounds `value` to the nearest integer, ties to even.
double RoundHalfEven(double value);

// The currency value in general form, e.g. 1500, 99,9, -0,5.
WString FormatCurrency(Currency value, char16_t decimalSeparator);

}  // namespace qarvex
