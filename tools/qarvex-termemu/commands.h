// The commands' handlers, each named by its entry in the command table.
// Those that drive the component get the prepared session and the
// answerer's mode (for the hint when a question could not be shown); the
// journal commands work on the journal file with the component's own code.
// Each returns the run's Outcome; UsageError and HostFailure pass out.
#pragma once

#include "tools/qarvex-termemu/command_line.h"
#include "tools/qarvex-termemu/outcome.h"
#include "tools/qarvex-termemu/terminal_session.h"

namespace qarvex::cli {

struct CommandContext {
  TerminalSession& session;
  QuestionAnswerer::Mode mode;
};

// pay, return, preauth, cancel, confirm, cancel-preauth: connect, the
// entry's card method, disconnect.
Outcome RunCardOperation(const Invocation& call, CommandContext& context);
// reverse and settle, likewise between connect and disconnect.
Outcome RunReversal(const Invocation& call, CommandContext& context);
Outcome RunSettlement(const Invocation& call, CommandContext& context);

// test, version, describe; params and actions (the entry's method's XML).
Outcome RunDeviceTest(const Invocation& call, CommandContext& context);
Outcome RunVersion(const Invocation& call, CommandContext& context);
Outcome RunDescribe(const Invocation& call, CommandContext& context);
Outcome RunXmlTable(const Invocation& call, CommandContext& context);

// set NAME VALUE.
Outcome RunSetParameter(const Invocation& call, CommandContext& context);

// call METHOD [ARG...], call --list.
Outcome RunCall(const Invocation& call, CommandContext& context);

// copy, report, journal: without the library.
Outcome RunCopy(const Invocation& call);
Outcome RunReport(const Invocation& call);
Outcome RunJournal(const Invocation& call);

// Every command: loads the library for those that need it, runs the
// command's handler and checks the host's memory books afterwards.
Outcome RunCommand(const Invocation& call);

}  // namespace qarvex::cli
