// set NAME VALUE: SetParameter as the platform uses it, the value given the
// type the parameter table names for the setting.
#include <pugixml.hpp>

#include "common/text.h"
#include "tools/qarvex-termemu/commands.h"
#include "tools/qarvex-termemu/output_json.h"
#include "tools/qarvex-termemu/typed_value.h"

namespace qarvex::cli {

using nativehost::HostValue;

namespace {

struct Setting {
  std::string name;
  std::string type;  // the table's TypeValue: String, Number, Boolean, Unknown
};

std::vector<Setting> SettingsIn(std::u16string_view tableXml) {
  pugi::xml_document document;
  const std::string text = ToUtf8(tableXml);
  if (!document.load_buffer(text.data(), text.size())) throw HostFailure("the component's parameter table is not XML");
  std::vector<Setting> settings;
  for (const auto& parameter : document.select_nodes("/Settings/Page/Parameter"))
    settings.push_back({parameter.node().attribute("Name").value(), parameter.node().attribute("TypeValue").value()});
  return settings;
}

// The plain VALUE as the host value the setting's type takes.
HostValue ValueFor(const Setting& setting, const std::string& value) {
  if (HasTypePrefix(value)) return ParseTypedValue(value);
  const std::string what = "the value of " + setting.name;
  if (setting.type == "Boolean") return HostValue(ParseBoolean(value, what));
  if (setting.type == "Number") {
    int integer = 0;
    if (TryParseInt32(FromUtf8(value), integer)) return HostValue(integer);
    try {
      return HostValue(ParseAmount(value, what));
    } catch (const UsageError&) {
      throw UsageError(what + " is a Number, not \"" + value + "\"");
    }
  }
  return HostValue(FromUtf8(value));
}

// The option that gives the setting for a whole run.
std::string_view OptionFor(std::string_view name) {
  if (name == "LineLength") return "--line-length";
  if (name == "UseDialogs") return "--dialogs";
  if (name == "CurrencyCode") return "--currency";
  if (name == "LogEnabled") return "--log";
  return {};
}

}  // namespace

Outcome RunSetParameter(const Invocation& call, CommandContext& context) {
  TerminalSession& session = context.session;
  const QuestionAnswerer::Mode mode = context.mode;
  const CallReport table = session.Call(u"GetParameters", {HostValue(u"")});
  if (!table.ReturnedTrue()) return Conclude("set", table, mode);
  const HostValue xml = table.Out("parameters_xml");
  const auto settings = SettingsIn(xml.kind() == HostValue::Kind::Text ? xml.AsText() : u"");
  const Setting* setting = nullptr;
  std::string names;
  for (const auto& candidate : settings) {
    if (candidate.name == call.settingName) setting = &candidate;
    names += (names.empty() ? "" : ", ") + candidate.name;
  }
  if (!setting)
    throw UsageError("there is no setting \"" + call.settingName + "\" (the settings are " + names +
                     "; letter case counts)");

  const CallReport report =
      session.Call(call.command->method, {HostValue(FromUtf8(setting->name)), ValueFor(*setting, call.settingValue)});
  Outcome outcome = Conclude("set", report, mode);
  if (outcome.status != kExitTrue) return outcome;
  const HostValue now = session.Property(FromUtf8(setting->name));
  outcome.json["read_back"] = ValueJson(now);
  outcome.text = setting->name + " = " + PlainValueText(now) + "\n";
  if (const auto option = OptionFor(setting->name); !option.empty())
    outcome.text += "(The component keeps settings in memory, for this run only: give " + std::string(option) +
                    " with each command instead.)\n";
  return outcome;
}

}  // namespace qarvex::cli
