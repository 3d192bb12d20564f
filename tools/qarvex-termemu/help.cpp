#include "tools/qarvex-termemu/help.h"

#include "tools/qarvex-termemu/program_platform.h"

namespace qarvex::cli {
namespace {

constexpr std::string_view kIntroduction =
    "qarvex-termemu: the emulated acquiring terminal qarvex_termemu from the command line\n"
    "\n"
    "Loads the component library the way the 1C:Enterprise platform does and\n"
    "drives it through its Native API only, as the platform's equipment library\n"
    "would. Each run makes one operation on a new component; the journal of\n"
    "stored operations is kept in the component's data folder and shared by\n"
    "every run (and by the platform on this machine, unless --data names\n"
    "another folder).\n"
    "\n"
    "Usage: qarvex-termemu [OPTIONS] COMMAND [ARGUMENTS]\n"
    "       qarvex-termemu help COMMAND    (the command's help, with an example)\n";

constexpr std::string_view kOwnCodeNote =
    "journal, copy and report: the host interface has no method for them, so\n"
    "they are made with the component's own code (copy and report with the\n"
    "functions its additional-operations panel calls), built into this\n"
    "program from the same sources, over the same journal file.\n";

constexpr std::string_view kOutput =
    "Output:\n"
    "  Without --json: the slip or report as the receipt printer would print\n"
    "  it; after a card operation, one line with the receipt number, reference\n"
    "  number and authorisation code. With --json: one JSON object on one line:\n"
    "  \"command\", \"method\" (the host name), \"method_name\", \"handled\",\n"
    "  \"return\" (the return value), \"out\" (every parameter as the component\n"
    "  left it, by role: device, card, amount, receipt_number, reference_number,\n"
    "  authorisation_code, slip, ...), \"last_error\", \"host_errors\", \"questions\"\n"
    "  (each with the answer given) and \"exit_status\". journal, copy and report\n"
    "  give \"operations\" or \"text\", \"error\" and \"journal_file\" instead.\n"
    "\n"
    "Exit status:\n"
    "  0  the operation returned True (also a payment the cashier declined:\n"
    "     its receipt number is 000000 and its slip says ОТКЛОНЕНО)\n"
    "  1  it returned False; the component's last error is on standard error\n"
    "  2  usage error, or a host-level failure: the library is missing or not\n"
    "     loadable, or the component sent the host an error report\n";

std::string DayExample() {
  const std::string run = "  qarvex-termemu " + std::string(kExampleDataOption);
  const std::string where = kExampleDataOption.empty() ? std::string("in the component's data folder")
                                                       : "kept in " + std::string(kExampleDataOption.substr(7));
  return "Example: a day at the till, " + where.substr(0, where.find_last_not_of(' ') + 1) + "\n" + run +
         "pay 1500\n" + run + "return 300.5\n" + run + "--decline pay 750\n" + run +
         "--dialogs preauth 2000   (asks you: y or n)\n" + run + "confirm 000003 1800\n" + run + "journal\n" +
         run + "report\n" + run + "settle\n";
}

std::string Padded(std::string text, std::size_t width) {
  std::size_t columns = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++columns;
  if (columns < width)
    text.append(width - columns, ' ');
  else
    text += "  ";
  return text;
}

// The help lines after their first, indented under the first.
std::string Hanging(std::string_view text, std::size_t indent) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '\n') out.append(indent, ' ');
  }
  return out;
}

std::string CommandLine(const CommandInfo& command) {
  std::string line(command.name);
  if (!command.arguments.empty()) line += " " + std::string(command.arguments);
  return line;
}

std::string OptionLine(const OptionInfo& option) {
  std::string line(option.name);
  if (!option.value.empty()) line += " " + std::string(option.value);
  return line;
}

// An option of every command that loads the library: the overview lists
// it without naming commands, and no command's own help repeats it.
bool IsGlobal(const OptionInfo& option) {
  for (const auto& command : Commands())
    if (command.RunWithLibrary != nullptr && !OptionAppliesTo(option.id, command)) return false;
  return true;
}

std::string CommandsTaking(const OptionInfo& option) {
  std::string names;
  for (const auto& command : Commands())
    if (OptionAppliesTo(option.id, command)) names += (names.empty() ? "" : ", ") + std::string(command.name);
  return names;
}

std::string OptionsBlock(const CommandInfo* command) {
  std::string text;
  constexpr std::size_t kWidth = 22;
  for (const auto& option : Options()) {
    const bool wanted = command ? !IsGlobal(option) && OptionAppliesTo(option.id, *command) : true;
    if (!wanted) continue;
    std::string help(option.help);
    if (!command && !IsGlobal(option)) help += "\n(" + CommandsTaking(option) + ")";
    text += "  " + Padded(OptionLine(option), kWidth) + Hanging(help, kWidth + 2) + "\n";
  }
  return text;
}

std::string Overview() {
  std::string text(kIntroduction);
  text += "\nCommands:\n";
  for (const auto& command : Commands())
    text += "  " + Padded(CommandLine(command), 31) + std::string(command.summary) + "\n";
  text += "\n" + std::string(kOwnCodeNote);
  text += "\nOptions (before or after the command):\n" + OptionsBlock(nullptr);
  text += "\n" + std::string(kOutput) + "\n" + DayExample();
  return text;
}

std::string CommandHelp(const CommandInfo& command) {
  std::string usage = "Usage: qarvex-termemu [OPTIONS] " + CommandLine(command);
  const std::string own = OptionsBlock(&command);
  for (const auto& option : Options())
    if (!IsGlobal(option) && OptionAppliesTo(option.id, command)) usage += " [" + OptionLine(option) + "]";
  std::string text = usage + "\n\n" + std::string(command.details);
  if (!command.notes.empty()) text += "\n" + std::string(command.notes);
  if (!own.empty()) text += "\nOptions of this command:\n" + own;
  text += "\nThe options of every command (--data, --json, --dialogs, ...): qarvex-termemu --help\n";
  text += "\nExample:\n  " + Hanging(command.example, 2) + "\n";
  return text;
}

}  // namespace

std::string HelpText(const CommandInfo* command) { return command ? CommandHelp(*command) : Overview(); }

}  // namespace qarvex::cli
