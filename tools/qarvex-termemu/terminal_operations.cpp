// The card operations, the emergency reversal and the settlement: each is
// one call between "Подключить" and "Отключить", as the platform's
// equipment library makes it.
#include "common/text.h"
#include "tools/qarvex-termemu/commands.h"
#include "tools/qarvex-termemu/output_text.h"
#include "tools/qarvex-termemu/typed_value.h"

namespace qarvex::cli {

using nativehost::HostValue;

namespace {

std::u16string_view MethodOf(CommandId command) {
  switch (command) {
    case CommandId::Pay: return u"ОплатитьПлатежнойКартой";
    case CommandId::Return: return u"ВернутьПлатежПоПлатежнойКарте";
    case CommandId::Preauth: return u"ПреавторизацияПоПлатежнойКарте";
    case CommandId::Cancel: return u"ОтменитьПлатежПоПлатежнойКарте";
    case CommandId::Confirm: return u"ЗавершитьПреавторизациюПоПлатежнойКарте";
    case CommandId::CancelPreauth: return u"ОтменитьПреавторизациюПоПлатежнойКарте";
    case CommandId::Reverse: return u"АварийнаяОтменаОперации";
    default: return u"ИтогиДняПоКартам";
  }
}

// The parameters in the order the methods take them: device, card number,
// amount, receipt number, reference number, authorisation code, slip.
std::vector<HostValue> ParametersOf(const Invocation& call) {
  const HostValue device(FromUtf8(call.device));
  if (call.command->id == CommandId::Reverse) return {device};
  if (call.command->id == CommandId::Settle) return {device, HostValue(u"")};
  // A stored operation is named as the platform names it: by the receipt
  // number, reference number and authorisation code the terminal gave it,
  // which the terminal derives from the receipt number.
  std::u16string reference, authorisation;
  int receipt = 0;
  if (TakesReceiptNumber(call.command->id) && TryParseInt32(FromUtf8(call.receiptNumber), receipt)) {
    reference = IntToText(receipt, 12);
    authorisation = IntToText(receipt, 6);
  }
  return {device,
          HostValue(FromUtf8(call.card)),
          HostValue(call.amount),
          HostValue(FromUtf8(call.receiptNumber)),
          HostValue(reference),
          HostValue(authorisation),
          HostValue(u"")};
}

std::string OutText(const CallReport& report, std::string_view role) {
  const HostValue value = report.Out(role);
  return value.kind() == HostValue::Kind::Text ? PrintedText(value.AsText()) : std::string();
}

bool Declined(const CallReport& report) {
  for (const auto& asked : report.questions)
    if (asked.answer == nativehost::MsgBoxAnswer::No) return true;
  return false;
}

std::string ResultText(const Invocation& call, const CallReport& report, int status) {
  const CommandId id = call.command->id;
  if (id == CommandId::Settle) return status == kExitTrue ? OutText(report, "settlement_text") : std::string();
  if (id == CommandId::Reverse) {
    if (status != kExitTrue) return {};
    return Declined(report) ? "Emergency reversal declined by the cashier: the journal is unchanged.\n"
                            : "Emergency reversal: the newest stored operation was removed from the journal.\n";
  }
  // A failed operation may still hand back a slip (a declined confirmation).
  std::string text = OutText(report, "slip");
  if (status == kExitTrue) text += NumbersLine(report);
  return text;
}

}  // namespace

Outcome RunTerminalOperation(const Invocation& call, TerminalSession& session, QuestionAnswerer::Mode mode) {
  const std::string_view command = call.command->name;
  const CallReport connect = session.Connect();
  if (!connect.ReturnedTrue()) {
    Outcome outcome = Conclude(command, connect, mode);
    if (outcome.status == kExitTrue) {  // connected without saying True
      outcome.status = kExitFailure;
      AddError(outcome, "Подключить returned " + TypedValueText(connect.returned));
    }
    return outcome;
  }
  const CallReport report = session.Call(MethodOf(call.command->id), ParametersOf(call));
  const CallReport disconnect = session.Disconnect();
  Outcome outcome = Conclude(command, report, mode);
  outcome.text = ResultText(call, report, outcome.status);
  if (!disconnect.ReturnedTrue())
    AddError(outcome, "warning: Отключить did not succeed: " + ToUtf8(disconnect.lastError));
  return outcome;
}

}  // namespace qarvex::cli
