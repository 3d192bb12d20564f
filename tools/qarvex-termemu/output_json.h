// The --json forms: host values as JSON values (text as strings, numbers as
// numbers, Booleans, null for empty; other kinds as their typed notation),
// and one object per component call with the method, its return value, its
// parameters as the component left them (by role), the last error, the host
// error reports and the cashier's questions.
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

#include "tools/qarvex-termemu/call_report.h"

namespace qarvex::cli {

nlohmann::ordered_json ValueJson(const nativehost::HostValue& value);
nlohmann::ordered_json CallJson(std::string_view command, const CallReport& report);

// The object as one line of standard output. Text that is not valid UTF-8
// is written with U+FFFD in its place.
std::string JsonLine(const nlohmann::ordered_json& object);

}  // namespace qarvex::cli
