// journal, copy and report: the host interface has no method for a receipt
// copy or the journal report (inside the platform the additional-operations
// panel shows them), so they are made here with the component's own code,
// the functions the panel calls, over the same journal file the library
// uses: the data folder the component's own rule gives, in this process.
#include <cstdio>
#include <cstdlib>

#include "acquiring/uAcquiringTerminalDriver.h"
#include "common/error.h"
#include "emulator/device_folder.h"
#include "emulator/slip_texts.h"
#include "emulator/uOperJournal.h"
#include "tools/qarvex-termemu/commands.h"
#include "tools/qarvex-termemu/output_text.h"

namespace qarvex::cli {

using emulator::TOperJournal;

namespace {

constexpr char16_t kExtensionName[] = u"qarvex_termemu";
constexpr int kDefaultLineLength = 32;  // the component's own default

struct StoredOperation {
  int id = 0;
  int kopecks = 0;
  int type = 0;
  WString card;
  TDateTime date = 0;
};

std::vector<StoredOperation> ReadOperations(TOperJournal& journal) {
  std::vector<StoredOperation> operations;
  if (!journal.BeginReport()) return operations;
  try {
    StoredOperation row;
    while (journal.GetRecord(row.id, row.kopecks, row.type, row.card, row.date)) operations.push_back(row);
  } catch (...) {
    journal.EndReport();
    throw;
  }
  journal.EndReport();
  return operations;
}

std::string AmountText(int kopecks) {
  const long long value = kopecks;
  const long long magnitude = value < 0 ? -value : value;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%s%lld.%02lld", value < 0 ? "-" : "", magnitude / 100, magnitude % 100);
  return buffer;
}

std::string DateText(TDateTime date, char between) {
  const LocalDateTime t = DecodeDateTime(date);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d%c%02d:%02d:%02d", t.year, t.month, t.day, between, t.hour,
                t.minute, t.second);
  return buffer;
}

std::string Cell(const std::string& text, std::size_t width, bool right = false) {
  std::size_t columns = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++columns;
  const std::string fill(columns < width ? width - columns : 0, ' ');
  return right ? fill + text : text + fill;
}

// What a journal command made: its own JSON fields, in order after
// "command", and its standard output.
struct JournalAnswer {
  Json fields = Json::object();
  std::string text;
};

JournalAnswer JournalListing(const Invocation& call, TOperJournal& journal) {
  const auto operations = ReadOperations(journal);
  std::string table =
      Cell("Receipt", 8) + Cell("Operation", 16) + Cell("Amount", 12, true) + "  " + Cell("Card", 20) + "Date\n";
  Json rows = Json::array();
  for (const auto& row : operations) {
    const std::string receipt = ToUtf8(IntToText(row.id, 6));
    const std::string operation = ToUtf8(emulator::OperTypeName(row.type));
    const std::string card = ToUtf8(call.unmasked ? row.card : acquiring::MaskCardNumber(row.card));
    table += Cell(receipt, 8) + Cell(operation, 16) + Cell(AmountText(row.kopecks), 12, true) + "  " + Cell(card, 20) +
             DateText(row.date, ' ') + "\n";
    rows.push_back({{"receipt_number", receipt},
                    {"id", row.id},
                    {"operation", operation},
                    {"type", row.type},
                    {"amount", row.kopecks / 100.0},
                    {"kopecks", row.kopecks},
                    {"card", card},
                    {"date", DateText(row.date, 'T')}});
  }
  const std::string file = ToUtf8(journal.DatabaseFile());
  JournalAnswer answer;
  answer.text = operations.empty() ? "The journal is empty (" + file + ").\n"
                                   : table + std::to_string(operations.size()) + " operation(s) in " + file + "\n";
  answer.fields["operations"] = std::move(rows);
  return answer;
}

// A text the component's own code lays out, printed as the receipt printer
// would; empty when it could not be made.
JournalAnswer PrintedAnswer(Json fields, const WString& text) {
  JournalAnswer answer;
  answer.fields = std::move(fields);
  answer.fields["text"] = ToUtf8(text);
  answer.text = PrintedText(text);
  return answer;
}

int LineWidth(const Invocation& call) { return call.lineLength.value_or(kDefaultLineLength); }

// Opens the journal as the component does and makes the command's answer
// with `make`; a failure is the command's False with the component's
// message, and `failed` stands for the answer.
template <class Make>
Outcome OnJournal(const Invocation& call, Make&& make, JournalAnswer failed) {
  Outcome outcome;
  std::string file, message;
  JournalAnswer answer;
  try {
    TOperJournal journal(emulator::DeviceFolderFor(kExtensionName));
    journal.Init();
    file = ToUtf8(journal.DatabaseFile());
    answer = make(journal);
  } catch (const std::exception& e) {
    outcome.status = kExitFalse;
    message = ToUtf8(MessageOf(e));
    AddError(outcome, std::string(call.command->name) + " failed: " + message);
    answer = std::move(failed);
  }
  outcome.text = std::move(answer.text);
  Json json;
  json["command"] = call.command->name;
  for (auto& [key, value] : answer.fields.items()) json[key] = std::move(value);
  json["error"] = message;
  json["journal_file"] = file;
  json["exit_status"] = outcome.status;
  outcome.json = std::move(json);
  return outcome;
}

}  // namespace

Outcome RunJournal(const Invocation& call) {
  return OnJournal(
      call, [&](TOperJournal& journal) { return JournalListing(call, journal); },
      JournalAnswer{{{"operations", Json::array()}}, ""});
}

Outcome RunCopy(const Invocation& call) {
  const Json receipt{{"receipt_number", call.copyReceipt.empty() ? Json(nullptr) : Json(call.copyReceipt)}};
  return OnJournal(
      call,
      [&](TOperJournal& journal) {
        return PrintedAnswer(receipt, emulator::GetReceiptCopy(journal, FromUtf8(call.copyReceipt), LineWidth(call)));
      },
      PrintedAnswer(receipt, u""));
}

Outcome RunReport(const Invocation& call) {
  return OnJournal(
      call,
      [&](TOperJournal& journal) {
        return PrintedAnswer(Json::object(), emulator::GetReport(journal, u"", LineWidth(call)));
      },
      PrintedAnswer(Json::object(), u""));
}

}  // namespace qarvex::cli
