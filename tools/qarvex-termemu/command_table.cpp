#include "tools/qarvex-termemu/command_table.h"

#include <array>

#include "tools/qarvex-termemu/commands.h"
#include "tools/qarvex-termemu/program_platform.h"

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

constexpr OptionId kCardOptions[] = {OptionId::Card};
constexpr OptionId kCallOptions[] = {OptionId::List, OptionId::NoConnect};
constexpr OptionId kPrintOptions[] = {OptionId::LineLength};
constexpr OptionId kJournalOptions[] = {OptionId::Unmasked};

const std::array kCommands = {
    CommandInfo{
        .name = "pay",
        .arguments = "AMOUNT",
        .takes = Arguments::Amount,
        .minArguments = 1,
        .maxArguments = 1,
        .summary = "payment by card",
        .details = "Payment by card (ОплатитьПлатежнойКартой).\n",
        .example = "qarvex-termemu pay 1500 --card 4276380012345678",
        .notes = kCardOperation,
        .method = u"PayByPaymentCard",
        .ownOptions = kCardOptions,
        .RunWithLibrary = &RunCardOperation,
    },
    CommandInfo{
        .name = "return",
        .arguments = "AMOUNT",
        .takes = Arguments::Amount,
        .minArguments = 1,
        .maxArguments = 1,
        .summary = "return of a payment",
        .details = "Return of a payment (ВернутьПлатежПоПлатежнойКарте). It does not refer to\n"
            "the payment: a return is a new operation with its own receipt number.\n",
        .example = "qarvex-termemu return 300.5",
        .notes = kCardOperation,
        .method = u"ReturnPaymantByPaymantCard",
        .ownOptions = kCardOptions,
        .RunWithLibrary = &RunCardOperation,
    },
    CommandInfo{
        .name = "preauth",
        .arguments = "AMOUNT",
        .takes = Arguments::Amount,
        .minArguments = 1,
        .maxArguments = 1,
        .summary = "pre-authorisation",
        .details = "Pre-authorisation (ПреавторизацияПоПлатежнойКарте); confirm or cancel it\n"
            "later by its receipt number.\n",
        .example = "qarvex-termemu preauth 2000",
        .notes = kCardOperation,
        .method = u"AuthorisationByPaymentCard",
        .ownOptions = kCardOptions,
        .RunWithLibrary = &RunCardOperation,
    },
    CommandInfo{
        .name = "cancel",
        .arguments = "RECEIPT AMOUNT",
        .takes = Arguments::ReceiptAndAmount,
        .minArguments = 2,
        .maxArguments = 2,
        .summary = "cancel a stored operation",
        .details = "Cancellation (ОтменитьПлатежПоПлатежнойКарте): removes the stored\n"
            "operation RECEIPT from the journal, whatever its type and amount.\n",
        .example = "qarvex-termemu cancel 000004 99.9",
        .notes = kStoredOperation,
        .method = u"CancelPaymentByPaymentCard",
        .ownOptions = kCardOptions,
        .RunWithLibrary = &RunCardOperation,
    },
    CommandInfo{
        .name = "confirm",
        .arguments = "RECEIPT AMOUNT",
        .takes = Arguments::ReceiptAndAmount,
        .minArguments = 2,
        .maxArguments = 2,
        .summary = "confirm a pre-authorisation",
        .details = "Confirmation of a pre-authorisation (ЗавершитьПреавторизациюПоПлатежнойКарте).\n"
            "The journal is not changed; an unknown RECEIPT fails and still prints a\n"
            "declined slip.\n",
        .example = "qarvex-termemu confirm 000003 1800",
        .notes = kStoredOperation,
        .method = u"AuthConfirmationByPaymentCard",
        .ownOptions = kCardOptions,
        .RunWithLibrary = &RunCardOperation,
    },
    CommandInfo{
        .name = "cancel-preauth",
        .arguments = "RECEIPT AMOUNT",
        .takes = Arguments::ReceiptAndAmount,
        .minArguments = 2,
        .maxArguments = 2,
        .summary = "cancel a pre-authorisation",
        .details = "Cancellation of a pre-authorisation (ОтменитьПреавторизациюПоПлатежнойКарте);\n"
            "the terminal treats it exactly as `cancel`.\n",
        .example = "qarvex-termemu cancel-preauth 000003 2000",
        .notes = kStoredOperation,
        .method = u"CancelAuthorisationByPaymentCard",
        .ownOptions = kCardOptions,
        .RunWithLibrary = &RunCardOperation,
    },
    CommandInfo{
        .name = "reverse",
        .arguments = "",
        .takes = Arguments::None,
        .minArguments = 0,
        .maxArguments = 0,
        .summary = "emergency reversal of the newest operation",
        .details = "Emergency reversal (АварийнаяОтменаОперации): removes the newest stored\n"
            "operation, whatever its type; fails on an empty journal. No slip.\n"
            "Connects and disconnects around it; with --dialogs the cashier is asked.\n",
        .example = "qarvex-termemu reverse",
        .method = u"EmergencyReversal",
        .RunWithLibrary = &RunReversal,
    },
    CommandInfo{
        .name = "settle",
        .arguments = "",
        .takes = Arguments::None,
        .minArguments = 0,
        .maxArguments = 0,
        .summary = "day settlement: report, then empty journal",
        .details = "Day settlement (ИтогиДняПоКартам): prints the settlement report of every\n"
            "stored operation with the total, then empties the journal (the next\n"
            "operation is receipt 000001 again). No question is asked.\n",
        .example = "qarvex-termemu settle",
        .method = u"Settelment",
        .RunWithLibrary = &RunSettlement,
    },
    CommandInfo{
        .name = "test",
        .arguments = "",
        .takes = Arguments::None,
        .minArguments = 0,
        .maxArguments = 0,
        .summary = "device test",
        .details = "Device test (ТестУстройства): the terminal connects and disconnects and\n"
            "prints the test's text. It always returns True; a failed connection is\n"
            "told by the text.\n",
        .example = "qarvex-termemu test",
        .method = u"DeviceTest",
        .RunWithLibrary = &RunDeviceTest,
    },
    CommandInfo{
        .name = "version",
        .arguments = "",
        .takes = Arguments::None,
        .minArguments = 0,
        .maxArguments = 0,
        .summary = "the component's version",
        .details = "The component's version (ПолучитьНомерВерсии), as the library reports it.\n",
        .example = "qarvex-termemu version",
        .method = u"GetVersion",
        .RunWithLibrary = &RunVersion,
    },
    CommandInfo{
        .name = "describe",
        .arguments = "",
        .takes = Arguments::None,
        .minArguments = 0,
        .maxArguments = 0,
        .summary = "the driver's description",
        .details = "The driver's description (ПолучитьОписание): name, description, equipment\n"
            "type, interface revision, integration-library and main-driver flags and\n"
            "download address.\n",
        .example = "qarvex-termemu describe",
        .method = u"GetDescription",
        .RunWithLibrary = &RunDescribe,
    },
    CommandInfo{
        .name = "params",
        .arguments = "",
        .takes = Arguments::None,
        .minArguments = 0,
        .maxArguments = 0,
        .summary = "the parameter table (XML)",
        .details = "The driver's parameter table (ПолучитьПараметры), the XML document the\n"
            "platform reads its settings from, as the component returns it.\n",
        .example = "qarvex-termemu params",
        .method = u"GetParameters",
        .RunWithLibrary = &RunXmlTable,
    },
    CommandInfo{
        .name = "actions",
        .arguments = "",
        .takes = Arguments::None,
        .minArguments = 0,
        .maxArguments = 0,
        .summary = "the additional-action table (XML)",
        .details = "The driver's additional actions (ПолучитьДополнительныеДействия), the XML\n"
            "document as the component returns it. Run one with\n"
            "`call ВыполнитьДополнительноеДействие s:NAME` (windows need a display).\n",
        .example = "qarvex-termemu actions",
        .method = u"GetAdditionalActions",
        .RunWithLibrary = &RunXmlTable,
    },
    CommandInfo{
        .name = "set",
        .arguments = "NAME VALUE",
        .takes = Arguments::NameAndValue,
        .minArguments = 2,
        .maxArguments = 2,
        .summary = "write a setting with SetParameter",
        .details = "Writes a setting through УстановитьПараметр, as the platform does, and\n"
            "reads the property back. NAME is the setting's Name in the parameter\n"
            "table (LineLength, UseDialogs, CurrencyCode, LogEnabled; letter case\n"
            "counts). VALUE is converted to the setting's TypeValue: Number (40),\n"
            "Boolean (true, false) or String; a typed value (see `call`) is passed as\n"
            "it is. Settings live in the component's memory, so the value lasts for\n"
            "this run only: give --line-length, --currency, --log or --dialogs with\n"
            "each operation instead.\n",
        .example = "qarvex-termemu set LineLength 40",
        .method = u"SetParameter",
        .RunWithLibrary = &RunSetParameter,
    },
    CommandInfo{
        .name = "call",
        .arguments = "METHOD [ARG...]",
        .takes = Arguments::MethodAndValues,
        .minArguments = 1,
        .maxArguments = -1,
        .summary = "call any method with typed arguments",
        .details = "Calls one of the component's 19 methods by either of its names\n"
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
        .example = "qarvex-termemu call ОплатитьПлатежнойКартой s:T1 s:4276380012345678 n:100 s: s: s: s:\n"
            "qarvex-termemu call GetLastError empty",
        .ownOptions = kCallOptions,
        .RunWithLibrary = &RunCall,
    },
    CommandInfo{
        .name = "copy",
        .arguments = "[RECEIPT]",
        .takes = Arguments::OptionalReceipt,
        .minArguments = 0,
        .maxArguments = 1,
        .summary = "copy of a stored operation's slip",
        .details = "A copy of the slip of the stored operation RECEIPT, marked (КОПИЯ); without\n"
            "RECEIPT, of the newest operation.\n",
        .example = "qarvex-termemu copy 000001",
        .notes = kOwnCode,
        .ownOptions = kPrintOptions,
        .RunWithoutLibrary = &RunCopy,
    },
    CommandInfo{
        .name = "report",
        .arguments = "",
        .takes = Arguments::None,
        .minArguments = 0,
        .maxArguments = 0,
        .summary = "the journal report",
        .details = "The journal report (ОТЧЕТ): every stored operation and the total, as the\n"
            "additional-operations panel shows it (with the card numbers as stored,\n"
            "as the component lays the report out). The journal is not changed.\n",
        .example = "qarvex-termemu report",
        .notes = kOwnCode,
        .ownOptions = kPrintOptions,
        .RunWithoutLibrary = &RunReport,
    },
    CommandInfo{
        .name = "journal",
        .arguments = "",
        .takes = Arguments::None,
        .minArguments = 0,
        .maxArguments = 0,
        .summary = "the stored operations as a table",
        .details = "The stored operations: receipt number, operation, amount, card number and\n"
            "date. Card numbers are masked unless --unmasked is given (the journal\n"
            "itself holds them as the platform sent them).\n",
        .example = "qarvex-termemu journal --json",
        .notes = kJournalCode,
        .ownOptions = kJournalOptions,
        .RunWithoutLibrary = &RunJournal,
    },
    CommandInfo{
        .name = "help",
        .arguments = "[COMMAND]",
        .takes = Arguments::OptionalCommand,
        .minArguments = 0,
        .maxArguments = 1,
        .summary = "this overview, or a command's help",
        .details = "Prints the overview, or the help of COMMAND (also: COMMAND --help).\n",
        .example = "qarvex-termemu help pay",
    },
};

// The system's own texts are another file's constants: set before any
// code runs, but not known to the compiler here.
const std::array kOptions = {
    OptionInfo{OptionId::Library, "--library", "PATH", kLibraryOptionHelp},
    OptionInfo{OptionId::Data, "--data", "DIR", kDataOptionHelp},
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

bool IsCardCommand(const CommandInfo& command) {
  return command.takes == Arguments::Amount || command.takes == Arguments::ReceiptAndAmount;
}

bool OptionAppliesTo(OptionId option, const CommandInfo& command) {
  switch (option) {
    case OptionId::Data:
    case OptionId::Json:
    case OptionId::Help: return true;
    // The component's settings and where it is loaded from.
    case OptionId::Library:
    case OptionId::Dialogs:
    case OptionId::Approve:
    case OptionId::Decline:
    case OptionId::LineLength:
    case OptionId::Currency:
    case OptionId::Log:
    case OptionId::Device:
      if (command.RunWithLibrary != nullptr) return true;
      break;
    default: break;
  }
  for (const OptionId own : command.ownOptions)
    if (own == option) return true;
  return false;
}

}  // namespace qarvex::cli
