// The plain-text forms of standard output: the component's texts as the
// receipt printer prints them, and the listings of `call` and `describe`.
#pragma once

#include <string>
#include <string_view>

#include "tools/qarvex-termemu/call_report.h"

namespace qarvex::cli {

// A slip, report or XML text of the component in UTF-8, its CR LF line ends
// as plain line ends, ending with one. Empty text stays empty.
std::string PrintedText(std::u16string_view text);

// "Receipt 000001, reference 000000000001, authorisation code 000001".
std::string NumbersLine(const CallReport& report);

// `call`: the method, its return value and every parameter in typed
// notation, one per line; a text of several lines is printed below its
// parameter, indented.
std::string CallListing(const CallReport& report);

// Label and value lines, the values aligned after the longest label.
std::string LabelledLines(const std::vector<std::pair<std::string, std::string>>& lines);

}  // namespace qarvex::cli
