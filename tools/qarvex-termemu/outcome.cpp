#include "tools/qarvex-termemu/outcome.h"

#include "common/text.h"
#include "tools/qarvex-termemu/output_json.h"

namespace qarvex::cli {

void AddError(Outcome& outcome, const std::string& line) { outcome.error += "qarvex-termemu: " + line + "\n"; }

Outcome Conclude(std::string_view command, const CallReport& report, QuestionAnswerer::Mode mode) {
  Outcome outcome;
  const std::string method = ToUtf8(report.method);
  if (!report.hostErrors.empty()) {
    outcome.status = kExitFailure;
    for (const auto& error : report.hostErrors)
      AddError(outcome, method + ": the component reported a host error " + std::to_string(error.code) + " (" +
                            ToUtf8(error.source) + "): " + ToUtf8(error.description));
  } else if (!report.handled) {
    outcome.status = kExitFailure;
    AddError(outcome, method + ": the component did not carry out the call");
  } else if (report.ReturnedFalse()) {
    outcome.status = kExitFalse;
    // A method without a failure ending (ПечатьКвитанцийНаТерминале) may
    // answer False while the last result still tells of the call before.
    AddError(outcome, report.lastError.empty() ? method + " returned False"
                                               : std::string(command) + " failed: " + ToUtf8(report.lastError));
    for (const auto& asked : report.questions)
      if (asked.answer == nativehost::MsgBoxAnswer::CannotShow && mode == QuestionAnswerer::Mode::CannotShow) {
        AddError(outcome,
                 "the terminal's question could not be shown: standard input is not a terminal "
                 "(answer it with --approve or --decline)");
        break;
      }
  }
  outcome.json = CallJson(command, report);
  outcome.json["exit_status"] = outcome.status;
  return outcome;
}

}  // namespace qarvex::cli
