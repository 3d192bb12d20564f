#include "tools/qarvex-termemu/output_json.h"

#include "common/text.h"
#include "tools/qarvex-termemu/typed_value.h"

namespace qarvex::cli {

using nativehost::HostValue;
using Json = nlohmann::ordered_json;

Json ValueJson(const HostValue& value) {
  switch (value.kind()) {
    case HostValue::Kind::Empty: return nullptr;
    case HostValue::Kind::Int: return value.AsInt();
    case HostValue::Kind::Double: return value.AsDouble();
    case HostValue::Kind::Bool: return value.AsBool();
    case HostValue::Kind::Text: return ToUtf8(value.AsText());
    default: return TypedValueText(value);
  }
}

Json CallJson(std::string_view command, const CallReport& report) {
  Json object;
  object["command"] = command;
  object["method"] = ToUtf8(report.method);
  object["method_name"] = ToUtf8(report.englishName);
  object["handled"] = report.handled;
  object["return"] = ValueJson(report.returned);
  Json out = Json::object();
  for (const auto& parameter : report.parameters) out[parameter.role] = ValueJson(parameter.value);
  object["out"] = std::move(out);
  object["last_error"] = ToUtf8(report.lastError);
  Json errors = Json::array();
  for (const auto& error : report.hostErrors)
    errors.push_back({{"code", error.code},
                      {"source", ToUtf8(error.source)},
                      {"description", ToUtf8(error.description)},
                      {"scode", error.scode}});
  object["host_errors"] = std::move(errors);
  Json questions = Json::array();
  for (const auto& asked : report.questions)
    questions.push_back({{"question", ToUtf8(asked.question)}, {"answer", AnswerName(asked.answer)}});
  object["questions"] = std::move(questions);
  return object;
}

std::string JsonLine(const Json& object) { return object.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n"; }

}  // namespace qarvex::cli
