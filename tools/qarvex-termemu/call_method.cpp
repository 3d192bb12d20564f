// call METHOD [ARG...]: any of the component's methods, by either name,
// with typed arguments; call --list: the methods as the component lists them.
#include "common/text.h"
#include "tools/qarvex-termemu/commands.h"
#include "tools/qarvex-termemu/output_text.h"

namespace qarvex::cli {

using nativehost::HostValue;

namespace {

Outcome MethodList(TerminalSession& session) {
  Outcome outcome;
  Json methods = Json::array();
  for (const auto& method : session.Methods()) {
    outcome.text += "  " + std::to_string(method.index) + (method.index < 10 ? "  " : " ") +
                    ToUtf8(method.englishName) + " / " + ToUtf8(method.hostName) + ", " +
                    std::to_string(method.parameterCount) + " parameter(s)\n";
    methods.push_back({{"index", method.index},
                       {"method_name", ToUtf8(method.englishName)},
                       {"method", ToUtf8(method.hostName)},
                       {"parameters", method.parameterCount},
                       {"returns_value", method.returnsValue}});
  }
  outcome.json["command"] = "call";
  outcome.json["methods"] = std::move(methods);
  outcome.json["exit_status"] = kExitTrue;
  return outcome;
}

}  // namespace

Outcome RunCall(const Invocation& call, CommandContext& context) {
  TerminalSession& session = context.session;
  const QuestionAnswerer::Mode mode = context.mode;
  if (call.listMethods) return MethodList(session);
  const auto method = session.FindMethod(FromUtf8(call.method));
  if (!method)
    throw UsageError("the component has no method \"" + call.method +
                     "\" (qarvex-termemu call --list shows its methods)");
  const auto given = static_cast<long>(call.arguments.size());
  if (given > method->parameterCount)
    throw UsageError(ToUtf8(method->hostName) + " (" + ToUtf8(method->englishName) + ") takes " +
                     std::to_string(method->parameterCount) + " parameter(s), " + std::to_string(given) + " given");
  std::vector<HostValue> params = call.arguments;
  for (long i = given; i < method->parameterCount; ++i) params.push_back(session.DefaultValue(*method, i));

  if (call.connectFirst) {
    const CallReport connect = session.Connect();
    if (!connect.ReturnedTrue()) return Conclude("call", connect, mode);
  }
  const CallReport report = session.Call(*method, std::move(params));
  Outcome outcome = Conclude("call", report, mode);
  outcome.text = CallListing(report);
  if (call.connectFirst) {
    const CallReport disconnect = session.Disconnect();
    if (!disconnect.ReturnedTrue())
      AddError(outcome, "warning: " + ToUtf8(disconnect.method) + " did not succeed: " + ToUtf8(disconnect.lastError));
  }
  return outcome;
}

}  // namespace qarvex::cli
