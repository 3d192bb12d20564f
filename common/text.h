// UTF-16 is the component's text type (the host speaks UTF-16); UTF-8 is used
// only at the file boundary (log files, SQLite, exception messages).
#pragma once

#include <string>
#include <string_view>

namespace qarvex {

using WString = std::u16string;
using WStringView = std::u16string_view;

// Conversions replace malformed sequences with U+FFFD; they never throw.
std::string ToUtf8(WStringView text);
// ToUtf8's bytes appended to `out`, for callers that build UTF-8 piece by piece.
void AppendUtf8(std::string& out, WStringView text);
WString FromUtf8(std::string_view text);

// The line end of every slip, copy, report and log line.
inline constexpr char16_t kLineEnd[] = u"\r\n";

// Removes leading and trailing characters at or below the blank (blanks and
// control characters), the trimming every caption, message and slip text gets.
WString TrimBlanksAndControls(WStringView text);
// The same, as a view into `text`.
WStringView TrimmedOfBlanksAndControls(WStringView text);

// Decimal text of an integer, zero-padded to at least `minDigits` digits
// (printf's "%.Nd"; the minus sign does not count as a digit).
WString IntToText(long long value, int minDigits = 1);
// The same text appended to `out`, for callers that build a line piece by
// piece.
void AppendIntText(WString& out, long long value, int minDigits = 1);

// Parses the whole text as a signed 32-bit decimal integer (optional sign,
// digits only, no blanks). Returns false when it is not one.
bool TryParseInt32(WStringView text, int& out);

// ASCII-only upper-level helper for literals built at run time.
WString AsciiToW(std::string_view ascii);

}  // namespace qarvex
