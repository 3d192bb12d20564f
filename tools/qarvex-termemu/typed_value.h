// Host values written on the command line and printed back: the typed
// notation of `call` ("s:text", "n:100.5", "i:5", "b:true", "a:text",
// "empty"), and the plain arguments of the named commands (amounts,
// receipt numbers, widths). Every parser raises UsageError with a message
// that names the argument, so nothing is passed on half-understood.
#pragma once

#include <string>
#include <string_view>

#include "tools/host/host_value.h"

namespace qarvex::cli {

// One typed argument. Text is UTF-8 on the command line, UTF-16 to the host.
nativehost::HostValue ParseTypedValue(std::string_view argument);

// Whether the argument carries one of the type prefixes (or is "empty").
bool HasTypePrefix(std::string_view argument);

// The value in the same notation, e.g. s:000001, n:1500, b:true, empty.
// Values the notation cannot express are described, e.g. "date 45000.5".
std::string TypedValueText(const nativehost::HostValue& value);

// The value as people read it: text as it is, numbers in decimal, true or
// false, and the typed notation for anything else.
std::string PlainValueText(const nativehost::HostValue& value);

// A number people write for money: optional minus sign, digits, and an
// optional fraction after "." or ",". `what` names the argument in errors.
double ParseAmount(std::string_view text, std::string_view what);

// A receipt number as operations print it: digits only (000001 or 1),
// at most a 32-bit integer. Returned as written.
std::string ParseReceiptNumber(std::string_view text);

// A signed 32-bit decimal integer.
int ParseInteger(std::string_view text, std::string_view what);

// "true"/"false" (any letter case), "1"/"0", "yes"/"no".
bool ParseBoolean(std::string_view text, std::string_view what);

}  // namespace qarvex::cli
