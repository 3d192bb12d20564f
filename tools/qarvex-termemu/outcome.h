// The result of one run: its exit status and what it prints. Commands fill
// both forms of standard output; main prints the one --json asks for, and
// standard error in either case.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "tools/qarvex-termemu/call_report.h"
#include "tools/qarvex-termemu/failures.h"

namespace qarvex::cli {

using Json = nlohmann::ordered_json;  // keys in the order written

struct Outcome {
  int status = kExitTrue;
  std::string text;   // standard output without --json
  Json json;          // standard output with --json (one object)
  std::string error;  // standard error, one message per line
};

// The status and error lines a component call ends with: 2 for a slot that
// answered false or a host error report, 1 for the return value False (with
// the last error), else 0. `command` names the run in messages and JSON;
// the JSON object describes the call.
Outcome Conclude(std::string_view command, const CallReport& report, QuestionAnswerer::Mode mode);

// Adds a line to the outcome's standard error.
void AddError(Outcome& outcome, const std::string& line);

}  // namespace qarvex::cli
