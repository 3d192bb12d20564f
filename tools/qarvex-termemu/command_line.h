// The command line of qarvex-termemu read into one Invocation. Options may
// stand before or after the command; "--" ends them (so a text argument may
// begin with "--"). Every argument is checked here, before the library is
// loaded or a file touched: ParseCommandLine raises UsageError for anything
// it cannot carry out exactly as written.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/host/host_value.h"
#include "tools/qarvex-termemu/command_table.h"

namespace qarvex::cli {

// How the component's question to the cashier is answered.
enum class AnswerMode {
  Unset,    // no answer given: asked on the terminal when there is one
  Approve,  // --approve
  Decline,  // --decline
};

struct Invocation {
  const CommandInfo* command = nullptr;  // null: no command given
  bool help = false;                     // --help or the help command
  const CommandInfo* helpTopic = nullptr;

  // Where things are.
  std::string library;     // empty: the default library
  std::string dataFolder;  // empty: the component's own data folder
  std::string device = "TERMINAL-1";

  // The component's settings, written only when given.
  std::optional<int> lineLength;
  std::optional<std::string> currency;
  bool log = false;
  bool dialogs = false;  // UseDialogs on (also implied by --approve/--decline)
  AnswerMode answer = AnswerMode::Unset;

  bool json = false;

  // Card operations.
  std::string card = "4111111111111111";
  double amount = 0;
  std::string receiptNumber;

  // copy: the receipt number, empty for the newest operation.
  std::string copyReceipt;
  // journal.
  bool unmasked = false;
  // set.
  std::string settingName;
  std::string settingValue;
  // call.
  bool listMethods = false;
  bool connectFirst = true;
  std::string method;
  std::vector<nativehost::HostValue> arguments;
};

Invocation ParseCommandLine(int argc, char** argv);

}  // namespace qarvex::cli
