#include <cstdio>

#include "tools/qarvex-termemu/commands.h"
#include "tools/qarvex-termemu/program_platform.h"

namespace qarvex::cli {

Outcome RunCommand(const Invocation& call) {
  const CommandId id = call.command->id;
  if (id == CommandId::Copy || id == CommandId::Report || id == CommandId::Journal) return RunJournalCommand(call);

  const auto mode = QuestionAnswerer::ModeFor(call.answer, StandardInputIsTerminal());
  QuestionAnswerer answerer(mode, stdin, stderr);
  TerminalSession session(call, answerer);
  Outcome outcome;
  switch (id) {
    case CommandId::Test:
    case CommandId::Version:
    case CommandId::Describe:
    case CommandId::Params:
    case CommandId::Actions: outcome = RunDriverQuery(call, session, mode); break;
    case CommandId::Set: outcome = RunSetParameter(call, session, mode); break;
    case CommandId::Call: outcome = RunCall(call, session, mode); break;
    default: outcome = RunTerminalOperation(call, session, mode); break;
  }
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
