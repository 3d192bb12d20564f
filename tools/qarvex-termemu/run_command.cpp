#include <cstdio>

#include "tools/qarvex-termemu/commands.h"
#include "tools/qarvex-termemu/program_platform.h"

namespace qarvex::cli {

Outcome RunCommand(const Invocation& call) {
  const CommandInfo& command = *call.command;
  if (command.RunWithoutLibrary != nullptr) return command.RunWithoutLibrary(call);

  const auto mode = QuestionAnswerer::ModeFor(call.answer, StandardInputIsTerminal());
  QuestionAnswerer answerer(mode, stdin, stderr);
  TerminalSession session(call, answerer);
  CommandContext context{session, mode};
  Outcome outcome = command.RunWithLibrary(call, context);
  // The platform would not notice, but a component that leaks host blocks
  // or frees foreign ones is at fault, and this is where it shows.
  const auto memory = session.Finish();
  if (!memory.Balanced()) {
    outcome.status = kExitFailure;
    AddError(outcome, "the component's use of the host's memory is faulty: " + memory.Describe());
    outcome.json["host_memory"] = memory.Describe();
    outcome.json["exit_status"] = outcome.status;
  }
  return outcome;
}

}  // namespace qarvex::cli
