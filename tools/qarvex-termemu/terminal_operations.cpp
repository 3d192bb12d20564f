// The card operations, the emergency reversal and the settlement: each is
// one call of its entry's method between connecting and disconnecting.
#include "common/text.h"
#include "tools/qarvex-termemu/commands.h"
#include "tools/qarvex-termemu/output_text.h"
#include "tools/qarvex-termemu/typed_value.h"

namespace qarvex::cli {

using nativehost::HostValue;

namespace {

// The card methods' parameters in the order they take them: device, card
// number, amount, receipt number, reference number, authorisation code,
// slip.
std::vector<HostValue> CardParameters(const Invocation& call) {
  // A stored operation is named as the platform names it: by the receipt
  // number, reference number and authorisation code the terminal gave it,
  // which the terminal derives from the receipt number.
  std::u16string reference, authorisation;
  int receipt = 0;
  if (call.command->takes == Arguments::ReceiptAndAmount && TryParseInt32(FromUtf8(call.receiptNumber), receipt)) {
    reference = IntToText(receipt, 12);
    authorisation = IntToText(receipt, 6);
  }
  return {HostValue(FromUtf8(call.device)),
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

// One call of the entry's method between "Подключить" and "Отключить", as
// the platform's equipment library makes it; `text` makes what is printed
// from the call and the run's status.
template <class Text>
Outcome ConnectedCall(const Invocation& call, CommandContext& context, std::vector<HostValue> params, Text&& text) {
  TerminalSession& session = context.session;
  const std::string_view command = call.command->name;
  const CallReport connect = session.Connect();
  if (!connect.ReturnedTrue()) {
    Outcome outcome = Conclude(command, connect, context.mode);
    if (outcome.status == kExitTrue) {  // connected without saying True
      outcome.status = kExitFailure;
      AddError(outcome, ToUtf8(connect.method) + " returned " + TypedValueText(connect.returned));
    }
    return outcome;
  }
  const CallReport report = session.Call(call.command->method, std::move(params));
  const CallReport disconnect = session.Disconnect();
  Outcome outcome = Conclude(command, report, context.mode);
  outcome.text = text(report, outcome.status);
  if (!disconnect.ReturnedTrue())
    AddError(outcome, "warning: " + ToUtf8(disconnect.method) + " did not succeed: " + ToUtf8(disconnect.lastError));
  return outcome;
}

}  // namespace

Outcome RunCardOperation(const Invocation& call, CommandContext& context) {
  return ConnectedCall(call, context, CardParameters(call), [](const CallReport& report, int status) {
    // A failed operation may still hand back a slip (a declined confirmation).
    std::string text = OutText(report, "slip");
    if (status == kExitTrue) text += NumbersLine(report);
    return text;
  });
}

Outcome RunReversal(const Invocation& call, CommandContext& context) {
  return ConnectedCall(call, context, {HostValue(FromUtf8(call.device))}, [](const CallReport& report, int status) {
    if (status != kExitTrue) return std::string();
    return std::string(Declined(report)
                           ? "Emergency reversal declined by the cashier: the journal is unchanged.\n"
                           : "Emergency reversal: the newest stored operation was removed from the journal.\n");
  });
}

Outcome RunSettlement(const Invocation& call, CommandContext& context) {
  return ConnectedCall(call, context, {HostValue(FromUtf8(call.device)), HostValue(u"")},
                       [](const CallReport& report, int status) {
                         return status == kExitTrue ? OutText(report, "settlement_text") : std::string();
                       });
}

}  // namespace qarvex::cli
