// The commands. Those that drive the component get a prepared session and
// the answerer's mode (for the hint when a question could not be shown);
// the journal commands work on the journal file with the component's own
// code. Each returns the run's Outcome; UsageError and HostFailure pass out.
#pragma once

#include "tools/qarvex-termemu/command_line.h"
#include "tools/qarvex-termemu/outcome.h"
#include "tools/qarvex-termemu/terminal_session.h"

namespace qarvex::cli {

// pay, return, preauth, cancel, confirm, cancel-preauth, reverse, settle:
// connect, the operation, disconnect.
Outcome RunTerminalOperation(const Invocation& call, TerminalSession& session, QuestionAnswerer::Mode mode);

// test, version, describe, params, actions.
Outcome RunDriverQuery(const Invocation& call, TerminalSession& session, QuestionAnswerer::Mode mode);

// set NAME VALUE.
Outcome RunSetParameter(const Invocation& call, TerminalSession& session, QuestionAnswerer::Mode mode);

// call METHOD [ARG...], call --list.
Outcome RunCall(const Invocation& call, TerminalSession& session, QuestionAnswerer::Mode mode);

// copy, report, journal.
Outcome RunJournalCommand(const Invocation& call);

// Every command: loads the library for those that need it, runs the
// command and checks the host's memory books afterwards.
Outcome RunCommand(const Invocation& call);

}  // namespace qarvex::cli
