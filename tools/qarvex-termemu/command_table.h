// The commands and options of qarvex-termemu: one table that both the
// command-line parser and the help texts read, so the two cannot disagree.
#pragma once

#include <span>
#include <string_view>

namespace qarvex::cli {

enum class CommandId {
  Pay,
  Return,
  Preauth,
  Cancel,
  Confirm,
  CancelPreauth,
  Reverse,
  Settle,
  Test,
  Version,
  Describe,
  Params,
  Actions,
  Set,
  Call,
  Copy,
  Report,
  Journal,
  Help,
};

struct CommandInfo {
  CommandId id;
  std::string_view name;
  std::string_view arguments;  // the positional arguments as help shows them
  int minArguments;
  int maxArguments;             // -1: any number
  std::string_view summary;     // one line for the overview
  std::string_view details;     // the command's own help, lines end with \n
  std::string_view example;     // one or more example lines
  std::string_view notes = {};  // text shared by a family of commands
};

enum class OptionId {
  Library,
  Data,
  Json,
  Dialogs,
  Approve,
  Decline,
  LineLength,
  Currency,
  Log,
  Device,
  Help,
  Card,
  Unmasked,
  List,
  NoConnect,
};

struct OptionInfo {
  OptionId id;
  std::string_view name;   // with the leading "--"
  std::string_view value;  // the value's name in help, empty for a switch
  std::string_view help;
};

std::span<const CommandInfo> Commands();
std::span<const OptionInfo> Options();

// Null when there is no such command or option.
const CommandInfo* FindCommand(std::string_view name);
const OptionInfo* FindOption(std::string_view name);

// Whether `option` may be given with `command`: the global options with
// every command, the others with the commands their help names.
bool OptionAppliesTo(OptionId option, CommandId command);

// The seven-parameter card methods: an amount, and for the last three a
// receipt number before it.
bool IsCardCommand(CommandId command);
bool TakesReceiptNumber(CommandId command);

}  // namespace qarvex::cli
