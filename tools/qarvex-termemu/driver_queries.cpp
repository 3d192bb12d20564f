// The driver's own questions: device test, version, description and the
// two tables. None of them needs the terminal connected.
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

Outcome RunDriverQuery(const Invocation& call, TerminalSession& session, QuestionAnswerer::Mode mode) {
  const std::string_view command = call.command->name;
  switch (call.command->id) {
    case CommandId::Test: {
      const CallReport report = session.Call(u"ТестУстройства", {HostValue(u""), HostValue(u"")});
      Outcome outcome = Conclude(command, report, mode);
      for (const char* role : {"result_text", "extra_text"}) {
        const HostValue text = report.Out(role);
        if (text.kind() == HostValue::Kind::Text) outcome.text += PrintedText(text.AsText());
      }
      return outcome;
    }
    case CommandId::Version: {
      const CallReport report = session.Call(u"ПолучитьНомерВерсии", {});
      Outcome outcome = Conclude(command, report, mode);
      outcome.text = PlainValueText(report.returned) + "\n";
      return outcome;
    }
    case CommandId::Describe: {
      const CallReport report = session.Call(u"ПолучитьОписание", std::vector<HostValue>(7));
      Outcome outcome = Conclude(command, report, mode);
      outcome.text = DescriptionText(report);
      return outcome;
    }
    default: {
      const bool params = call.command->id == CommandId::Params;
      const CallReport report =
          session.Call(params ? u"ПолучитьПараметры" : u"ПолучитьДополнительныеДействия", {HostValue(u"")});
      Outcome outcome = Conclude(command, report, mode);
      const HostValue xml = report.Out(params ? "parameters_xml" : "actions_xml");
      if (outcome.status == kExitTrue && xml.kind() == HostValue::Kind::Text) outcome.text = PrintedText(xml.AsText());
      return outcome;
    }
  }
}

}  // namespace qarvex::cli
