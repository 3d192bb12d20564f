#include "tools/qarvex-termemu/command_table.h"

#include <array>

namespace qarvex::cli {
namespace {

constexpr std::string_view kCardOperation =
    "Connects the terminal, makes the operation and disconnects again, as the\n"
    "platform's equipment library does. With --dialogs the terminal first asks\n"
    "the cashier to approve it (see --approve and --decline). An approved\n"
    "operation is stored in the journal; a declined one succeeds with receipt\n"
    "number 000000 and a slip marked ОТКЛОНЕНО.\n"
    "Prints the slip as the receipt printer would, then the receipt number,\n"
    "reference number and authorisation code.\n"
    "AMOUNT is a number such as 1500, 99.9 or 99,9.\n";

constexpr std::string_view kStoredOperation =
    "RECEIPT is the stored operation's receipt number as it was printed\n"
    "(000001, or just 1); the reference number and authorisation code sent\n"
    "with it are the ones that operation was given. Connects, makes the\n"
    "operation and disconnects; with --dialogs the cashier is asked first.\n"
    "Prints the slip, then the receipt number, reference number and\n"
    "authorisation code. AMOUNT is a number such as 1500, 99.9 or 99,9.\n";

constexpr std::string_view kOwnCode =
    "The component's host interface has no method for this (inside the platform\n"
    "it is shown by the additional-operations panel). The text is made with the\n"
    "component's own code, the functions the panel calls, built into this\n"
    "program from the same sources, over the same journal file. The library is\n"
    "not loaded, so --library, --log, --dialogs and the other settings of the\n"
    "component are refused; --data and --line-length apply.\n";

constexpr std::string_view kJournalCode =
    "The host interface has no method for this. The operations are read with\n"
    "the component's own journal code, built into this program from the same\n"
    "sources, from the same journal file; the card numbers are masked with\n"
    "the component's own rule. The library is not loaded, so --library, --log,\n"
    "--dialogs and the other settings of the component are refused.\n";

const std::array kCommands = {
    CommandInfo{CommandId::Pay, "pay", "AMOUNT", 1, 1, "payment by card",
                "Payment by card (ОплатитьПлатежнойКартой).\n", "qarvex-termemu pay 1500 --card 4276380012345678",
                kCardOperation},
    CommandInfo{CommandId::Return, "return", "AMOUNT", 1, 1, "return of a payment",
                "Return of a payment (ВернутьПлатежПоПлатежнойКарте). It does not refer to\n"
                "the payment: a return is a new operation with its own receipt number.\n",
                "qarvex-termemu return 300.5", kCardOperation},
    CommandInfo{CommandId::Preauth, "preauth", "AMOUNT", 1, 1, "pre-authorisation",
                "Pre-authorisation (ПреавторизацияПоПлатежнойКарте); confirm or cancel it\n"
                "later by its receipt number.\n",
                "qarvex-termemu preauth 2000", kCardOperation},
    CommandInfo{CommandId::Cancel, "cancel", "RECEIPT AMOUNT", 2, 2, "cancel a stored operation",
                "Cancellation (ОтменитьПлатежПоПлатежнойКарте): removes the stored\n"
                "operation RECEIPT from the journal, whatever its type and amount.\n",
                "qarvex-termemu cancel 000004 99.9", kStoredOperation},
    CommandInfo{CommandId::Confirm, "confirm", "RECEIPT AMOUNT", 2, 2, "confirm a pre-authorisation",
                "Confirmation of a pre-authorisation (ЗавершитьПреавторизациюПоПлатежнойКарте).\n"
                "The journal is not changed; an unknown RECEIPT fails and still prints a\n"
                "declined slip.\n",
                "qarvex-termemu confirm 000003 1800", kStoredOperation},
    CommandInfo{CommandId::CancelPreauth, "cancel-preauth", "RECEIPT AMOUNT", 2, 2, "cancel a pre-authorisation",
                "Cancellation of a pre-authorisation (ОтменитьПреавторизациюПоПлатежнойКарте);\n"
                "the terminal treats it exactly as `cancel`.\n",
                "qarvex-termemu cancel-preauth 000003 2000", kStoredOperation},
    CommandInfo{CommandId::Reverse, "reverse", "", 0, 0, "emergency reversal of the newest operation",
                "Emergency reversal (АварийнаяОтменаОперации): removes the newest stored\n"
                "operation, whatever its type; fails on an empty journal. No slip.\n"
                "Connects and disconnects around it; with --dialogs the cashier is asked.\n",
                "qarvex-termemu reverse"},
    CommandInfo{CommandId::Settle, "settle", "", 0, 0, "day settlement: report, then empty journal",
                "Day settlement (ИтогиДняПоКартам): prints the settlement report of every\n"
                "stored operation with the total, then empties the journal (the next\n"
                "operation is receipt 000001 again). No question is asked.\n",
                "qarvex-termemu settle"},
    CommandInfo{CommandId::Test, "test", "", 0, 0, "device test",
                "Device test (ТестУстройства): the terminal connects and disconnects and\n"
                "prints the test's text. It always returns True; a failed connection is\n"
                "told by the text.\n",
                "qarvex-termemu test"},
    CommandInfo{CommandId::Version, "version", "", 0, 0, "the component's version",
                "The component's version (ПолучитьНомерВерсии), as the library reports it.\n",
                "qarvex-termemu version"},
    CommandInfo{CommandId::Describe, "describe", "", 0, 0, "the driver's description",
                "The driver's description (ПолучитьОписание): name, description, equipment\n"
                "type, interface revision, integration-library and main-driver flags and\n"
                "download address.\n",
                "qarvex-termemu describe"},
    CommandInfo{CommandId::Params, "params", "", 0, 0, "the parameter table (XML)",
                "The driver's parameter table (ПолучитьПараметры), the XML document the\n"
                "platform reads its settings from, as the component returns it.\n",
                "qarvex-termemu params"},
    CommandInfo{CommandId::Actions, "actions", "", 0, 0, "the additional-action table (XML)",
                "The driver's additional actions (ПолучитьДополнительныеДействия), the XML\n"
                "document as the component returns it. Run one with\n"
                "`call ВыполнитьДополнительноеДействие s:NAME` (windows need a display).\n",
                "qarvex-termemu actions"},
    CommandInfo{CommandId::Set, "set", "NAME VALUE", 2, 2, "write a setting with SetParameter",
                "Writes a setting through УстановитьПараметр, as the platform does, and\n"
                "reads the property back. NAME is the setting's Name in the parameter\n"
                "table (LineLength, UseDialogs, CurrencyCode, LogEnabled; letter case\n"
                "counts). VALUE is converted to the setting's TypeValue: Number (40),\n"
                "Boolean (true, false) or String; a typed value (see `call`) is passed as\n"
                "it is. Settings live in the component's memory, so the value lasts for\n"
                "this run only: give --line-length, --currency, --log or --dialogs with\n"
                "each operation instead.\n",
                "qarvex-termemu set LineLength 40"},
    CommandInfo{CommandId::Call, "call", "METHOD [ARG...]", 1, -1, "call any method with typed arguments",
                "Calls one of the component's 19 methods by either of its names\n"
                "(PayByPaymentCard or ОплатитьПлатежнойКартой) and prints the return value\n"
                "and every parameter as the component left it. Each ARG is typed:\n"
                "  s:TEXT     text (s: alone is the empty text)\n"
                "  n:NUMBER   number (double), e.g. n:100.5\n"
                "  i:INTEGER  32-bit integer, e.g. i:5\n"
                "  b:true     Boolean (b:true or b:false)\n"
                "  a:TEXT     narrow (8-bit) text\n"
                "  empty      no value\n"
                "Parameters left out are passed as the component's default value, or\n"
                "empty. The component is connected first and disconnected afterwards\n"
                "(--no-connect: call it on a disconnected component). `call --list`\n"
                "prints the methods with their parameter counts.\n",
                "qarvex-termemu call ОплатитьПлатежнойКартой s:T1 s:4276380012345678 n:100 s: s: s: s:\n"
                "qarvex-termemu call GetLastError empty"},
    CommandInfo{CommandId::Copy, "copy", "[RECEIPT]", 0, 1, "copy of a stored operation's slip",
                "A copy of the slip of the stored operation RECEIPT, marked (КОПИЯ); without\n"
                "RECEIPT, of the newest operation.\n",
                "qarvex-termemu copy 000001", kOwnCode},
    CommandInfo{CommandId::Report, "report", "", 0, 0, "the journal report",
                "The journal report (ОТЧЕТ): every stored operation and the total, as the\n"
                "additional-operations panel shows it (with the card numbers as stored,\n"
                "as the component lays the report out). The journal is not changed.\n",
                "qarvex-termemu report", kOwnCode},
    CommandInfo{CommandId::Journal, "journal", "", 0, 0, "the stored operations as a table",
                "The stored operations: receipt number, operation, amount, card number and\n"
                "date. Card numbers are masked unless --unmasked is given (the journal\n"
                "itself holds them as the platform sent them).\n",
                "qarvex-termemu journal --json", kJournalCode},
    CommandInfo{CommandId::Help, "help", "[COMMAND]", 0, 1, "this overview, or a command's help",
                "Prints the overview, or the help of COMMAND (also: COMMAND --help).\n", "qarvex-termemu help pay"},
};

const std::array kOptions = {
    OptionInfo{OptionId::Library, "--library", "PATH",
               "the component library to load (default:\n"
               "qarvex_termemu.so beside this program)"},
    OptionInfo{OptionId::Data, "--data", "DIR",
               "keep the journal and the log in DIR/qarvex_termemu\n"
               "(created when missing) instead of the component's\n"
               "own data folder: the first entry of XDG_DATA_DIRS,\n"
               "by default /usr/local/share/qarvex_termemu"},
    OptionInfo{OptionId::Json, "--json", "", "print one JSON object instead of text (see Output)"},
    OptionInfo{OptionId::Dialogs, "--dialogs", "",
               "switch the component's UseDialogs on: it asks the\n"
               "cashier to approve each operation; the question is\n"
               "shown here, answer y or n. Without a terminal on\n"
               "standard input it cannot be shown, and the operation\n"
               "fails with the component's message"},
    OptionInfo{OptionId::Approve, "--approve", "", "--dialogs, every question answered yes unasked"},
    OptionInfo{OptionId::Decline, "--decline", "", "--dialogs, every question answered no unasked"},
    OptionInfo{OptionId::LineLength, "--line-length", "N", "slip line width in characters (LineLength; 32)"},
    OptionInfo{OptionId::Currency, "--currency", "CODE", "the currency code (CurrencyCode; 643)"},
    OptionInfo{OptionId::Log, "--log", "",
               "switch the component's log on (LogEnabled): daily\nfiles in the data folder"},
    OptionInfo{OptionId::Device, "--device", "ID", "the device identifier passed (default TERMINAL-1)"},
    OptionInfo{OptionId::Help, "--help", "", "the help (of the command, when one is given)"},
    OptionInfo{OptionId::Card, "--card", "N", "the card number (default 4111111111111111)"},
    OptionInfo{OptionId::Unmasked, "--unmasked", "", "show the card numbers as stored, unmasked"},
    OptionInfo{OptionId::List, "--list", "", "list the component's methods instead of calling one"},
    OptionInfo{OptionId::NoConnect, "--no-connect", "", "do not connect before the call"},
};

}  // namespace

std::span<const CommandInfo> Commands() { return kCommands; }
std::span<const OptionInfo> Options() { return kOptions; }

const CommandInfo* FindCommand(std::string_view name) {
  for (const auto& command : kCommands)
    if (command.name == name) return &command;
  return nullptr;
}

const OptionInfo* FindOption(std::string_view name) {
  if (name == "-h") name = "--help";
  for (const auto& option : kOptions)
    if (option.name == name) return &option;
  return nullptr;
}

bool IsCardCommand(CommandId command) {
  switch (command) {
    case CommandId::Pay:
    case CommandId::Return:
    case CommandId::Preauth:
    case CommandId::Cancel:
    case CommandId::Confirm:
    case CommandId::CancelPreauth: return true;
    default: return false;
  }
}

bool TakesReceiptNumber(CommandId command) {
  return command == CommandId::Cancel || command == CommandId::Confirm || command == CommandId::CancelPreauth;
}

namespace {

// copy, report and journal do not load the library: only the options that
// say where the journal is and how to print apply to them, so none is taken
// and then silently left unused.
bool IsJournalCommand(CommandId command) {
  return command == CommandId::Copy || command == CommandId::Report || command == CommandId::Journal;
}

bool AppliesToJournalCommand(OptionId option, CommandId command) {
  switch (option) {
    case OptionId::Data:
    case OptionId::Json:
    case OptionId::Help: return true;
    case OptionId::LineLength: return command != CommandId::Journal;
    case OptionId::Unmasked: return command == CommandId::Journal;
    default: return false;
  }
}

}  // namespace

bool OptionAppliesTo(OptionId option, CommandId command) {
  if (IsJournalCommand(command)) return AppliesToJournalCommand(option, command);
  switch (option) {
    case OptionId::Card: return IsCardCommand(command);
    case OptionId::Unmasked: return command == CommandId::Journal;
    case OptionId::List:
    case OptionId::NoConnect: return command == CommandId::Call;
    default: return true;
  }
}

}  // namespace qarvex::cli
