// The driver's own questions: device test, version, description and the
// two tables, each the call of its entry's method. None of them needs the
// terminal connected.
#include "common/text.h"
#include "tools/qarvex-termemu/commands.h"
#include "tools/qarvex-termemu/output_text.h"
#include "tools/qarvex-termemu/typed_value.h"

namespace qarvex::cli {

using nativehost::HostValue;

namespace {

std::string DescriptionText(const CallReport& report) {
  const std::pair<const char*, const char*> labels[] = {
      {"Name", "name"},
      {"Description", "description"},
      {"Equipment type", "equipment_type"},
      {"Interface revision", "interface_revision"},
      {"Integration library", "integration_library"},
      {"Main driver installed", "main_driver_installed"},
      {"Download URL", "download_url"},
  };
  std::vector<std::pair<std::string, std::string>> lines;
  for (const auto& [label, role] : labels) {
    lines.emplace_back(label, PlainValueText(report.Out(role)));
  }
  return LabelledLines(lines);
}

}  // namespace

Outcome RunDeviceTest(const Invocation& call, CommandContext& context) {
  const CallReport report = context.session.Call(call.command->method, {HostValue(u""), HostValue(u"")});
  Outcome outcome = Conclude(call.command->name, report, context.mode);
  for (const char* role : {"result_text", "extra_text"}) {
    const HostValue text = report.Out(role);
    if (text.kind() == HostValue::Kind::Text) outcome.text += PrintedText(text.AsText());
  }
  return outcome;
}

Outcome RunVersion(const Invocation& call, CommandContext& context) {
  const CallReport report = context.session.Call(call.command->method, {});
  Outcome outcome = Conclude(call.command->name, report, context.mode);
  outcome.text = PlainValueText(report.returned) + "\n";
  return outcome;
}

Outcome RunDescribe(const Invocation& call, CommandContext& context) {
  const CallReport report = context.session.Call(call.command->method, std::vector<HostValue>(7));
  Outcome outcome = Conclude(call.command->name, report, context.mode);
  outcome.text = DescriptionText(report);
  return outcome;
}

// The method's one parameter is the document.
Outcome RunXmlTable(const Invocation& call, CommandContext& context) {
  const CallReport report = context.session.Call(call.command->method, {HostValue(u"")});
  Outcome outcome = Conclude(call.command->name, report, context.mode);
  const HostValue xml = report.parameters.empty() ? HostValue() : report.parameters.front().value;
  if (outcome.status == kExitTrue && xml.kind() == HostValue::Kind::Text) outcome.text = PrintedText(xml.AsText());
  return outcome;
}

}  // namespace qarvex::cli
