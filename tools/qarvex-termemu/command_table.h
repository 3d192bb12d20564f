// The commands and options of qarvex-termemu: one table that the
// command-line parser, the help texts and the run all read, so they cannot
// disagree.
#pragma once

#include <span>
#include <string_view>

namespace qarvex::cli {

struct Invocation;
struct Outcome;
struct CommandContext;

// The positional arguments a command takes, as the parser reads them.
enum class Arguments {
  None,
  Amount,            // AMOUNT
  ReceiptAndAmount,  // RECEIPT AMOUNT
  OptionalReceipt,   // [RECEIPT]
  NameAndValue,      // NAME VALUE
  MethodAndValues,   // METHOD [ARG...]
  OptionalCommand,   // [COMMAND]
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

// One command: its help texts, what it takes and what runs it. A command
// that drives the component runs with a loaded library (RunWithLibrary) and
// names the component method it calls by its English name; one that works
// on the journal file alone runs without it (RunWithoutLibrary). Adding a
// command is one entry here and its handler.
struct CommandInfo {
  std::string_view name;
  std::string_view arguments;   // the positional arguments as help shows them
  Arguments takes = Arguments::None;
  int minArguments = 0;
  int maxArguments = 0;         // -1: any number
  std::string_view summary;     // one line for the overview
  std::string_view details;     // the command's own help, lines end with \n
  std::string_view example;     // one or more example lines
  std::string_view notes = {};  // text shared by a family of commands
  std::u16string_view method = {};
  // The options of this command beyond those of every command.
  std::span<const OptionId> ownOptions = {};
  Outcome (*RunWithLibrary)(const Invocation&, CommandContext&) = nullptr;
  Outcome (*RunWithoutLibrary)(const Invocation&) = nullptr;
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

// Whether `option` may be given with `command`: --data, --json and --help
// with every command, the component's settings (--library, --dialogs, ...)
// with every command that loads the library, the others where the
// command's entry names them.
bool OptionAppliesTo(OptionId option, const CommandInfo& command);

// The card methods' commands: they take --card.
bool IsCardCommand(const CommandInfo& command);

}  // namespace qarvex::cli
