#include "tools/qarvex-termemu/terminal_session.h"

#include <algorithm>

#include "common/text.h"
#include "tools/qarvex-termemu/environment.h"
#include "tools/qarvex-termemu/failures.h"
#include "tools/qarvex-termemu/method_roles.h"
#include "tools/qarvex-termemu/typed_value.h"

namespace qarvex::cli {

using nativehost::HostValue;

namespace {

constexpr char16_t kClassName[] = u"qarvex_termemu";

std::string HostErrorsText(const std::vector<nativehost::ErrorRecord>& errors) {
  std::string text;
  for (const auto& error : errors) {
    if (!text.empty()) text += "; ";
    text +=
        "error " + std::to_string(error.code) + " from \"" + ToUtf8(error.source) + "\": " + ToUtf8(error.description);
  }
  return text;
}

}  // namespace

TerminalSession::TerminalSession(const Invocation& call, QuestionAnswerer& answerer)
    : libraryPath_(call.library.empty() ? DefaultLibraryPath() : call.library),
      device_(FromUtf8(call.device)),
      answerer_(answerer) {
  try {
    host_ = std::make_unique<nativehost::ReplacementHost>(libraryPath_);
  } catch (const std::exception& e) {
    throw HostFailure("the component library " + libraryPath_ + " could not be loaded: " + e.what());
  }
  host_->SetAnswerer([this](std::u16string_view question) { return answerer_.Answer(question); });

  std::vector<std::u16string> classes;
  try {
    classes = host_->ClassNames();
  } catch (const std::exception& e) {
    throw HostFailure(libraryPath_ + ": " + e.what());
  }
  if (std::find(classes.begin(), classes.end(), kClassName) == classes.end())
    throw HostFailure(libraryPath_ + " offers no class qarvex_termemu (it offers \"" + ToUtf8(host_->ClassNamesText()) +
                      "\")");
  component_ = host_->Create(kClassName);
  if (!component_)
    throw HostFailure("GetClassObject did not create the component (it answered " +
                      std::to_string(host_->LastCreateAnswer()) + ")");
  if (!component_->Handshake())
    throw HostFailure("the component refused the host's memory manager or callback interface");
  component_->SetLocale(u"ru_RU");
  std::optional<std::u16string> extension;
  if (!component_->RegisterExtensionAs(extension) || !extension)
    throw HostFailure("the component gave no extension name");
  if (!host_->Errors().empty())
    throw HostFailure("the component reported " + HostErrorsText(host_->Errors()) + " while being created");

  // Logging first, so that the log also shows the settings written after it.
  if (call.log) WriteSetting(u"LogEnabled", HostValue(true), "--log");
  if (call.lineLength) WriteSetting(u"LineLength", HostValue(*call.lineLength), "--line-length");
  if (call.currency) WriteSetting(u"CurrencyCode", HostValue(FromUtf8(*call.currency)), "--currency");
  if (call.dialogs) WriteSetting(u"UseDialogs", HostValue(true), "--dialogs");
}

TerminalSession::~TerminalSession() {
  if (component_ && !component_->Destroyed()) Finish();
}

void TerminalSession::WriteSetting(std::u16string_view name, const HostValue& value, const std::string& option) {
  const long index = component_->FindProp(name);
  if (index < 0) throw HostFailure("the component has no property " + ToUtf8(name) + " for " + option);
  const std::size_t errors = host_->Errors().size();
  const bool written = component_->SetPropVal(index, value);
  if (!written || host_->Errors().size() != errors) {
    const std::vector<nativehost::ErrorRecord> reported(host_->Errors().begin() + errors, host_->Errors().end());
    throw HostFailure("the component refused " + option + " (" + ToUtf8(name) + " := " + TypedValueText(value) + ")" +
                      (reported.empty() ? "" : ": " + HostErrorsText(reported)));
  }
}

std::optional<MethodInfo> TerminalSession::FindMethod(std::u16string_view name) {
  const long index = component_->FindMethod(name);
  if (index < 0) return std::nullopt;
  MethodInfo method;
  method.index = index;
  method.englishName = component_->GetMethodName(index, 0).value_or(u"");
  method.hostName = component_->GetMethodName(index, 1).value_or(u"");
  method.parameterCount = component_->GetNParams(index);
  method.returnsValue = component_->HasRetVal(index);
  return method;
}

std::vector<MethodInfo> TerminalSession::Methods() {
  std::vector<MethodInfo> methods;
  const long count = component_->GetNMethods();
  for (long i = 0; i < count; ++i) {
    const auto name = component_->GetMethodName(i, 0);
    if (auto method = name ? FindMethod(*name) : std::nullopt) methods.push_back(*method);
  }
  return methods;
}

HostValue TerminalSession::DefaultValue(const MethodInfo& method, long parameter) {
  const auto result = component_->GetParamDefValue(method.index, parameter);
  return result.ok ? result.value : HostValue();
}

CallReport TerminalSession::Call(std::u16string_view name, std::vector<HostValue> params) {
  const auto method = FindMethod(name);
  if (!method) throw HostFailure("the component has no method " + ToUtf8(name));
  return Call(*method, std::move(params));
}

CallReport TerminalSession::Call(const MethodInfo& method, std::vector<HostValue> params) {
  CallReport report;
  report.method = method.hostName;
  report.englishName = method.englishName;
  const std::size_t errors = host_->Errors().size();
  const std::size_t questions = answerer_.Questions().size();
  const auto result =
      method.returnsValue ? component_->CallAsFunc(method.index, params) : component_->CallAsProc(method.index, params);
  report.handled = result.ok;
  report.returned = result.value;
  const auto roles = RolesOf(method.englishName, static_cast<long>(params.size()));
  for (std::size_t i = 0; i < params.size(); ++i) report.parameters.push_back({roles[i], params[i]});
  report.hostErrors.assign(host_->Errors().begin() + errors, host_->Errors().end());
  report.questions.assign(answerer_.Questions().begin() + questions, answerer_.Questions().end());

  // The last error as the platform's equipment library reads it after a call.
  std::vector<HostValue> lastError(1);
  const std::size_t before = host_->Errors().size();
  if (const long index = component_->FindMethod(u"GetLastError"); index >= 0) {
    component_->CallAsFunc(index, lastError);
    if (lastError[0].kind() == HostValue::Kind::Text) report.lastError = lastError[0].AsText();
  }
  if (host_->Errors().size() != before)
    report.hostErrors.insert(report.hostErrors.end(), host_->Errors().begin() + before, host_->Errors().end());
  return report;
}

CallReport TerminalSession::Connect() { return Call(u"Open", {HostValue(device_)}); }
CallReport TerminalSession::Disconnect() { return Call(u"Close", {HostValue(device_)}); }

HostValue TerminalSession::Property(std::u16string_view name) {
  const long index = component_->FindProp(name);
  if (index < 0) return {};
  return component_->GetPropVal(index).value;
}

nativehost::MemoryReport TerminalSession::Finish() {
  component_->Done();
  component_->Destroy();
  return host_->Memory();
}

}  // namespace qarvex::cli
