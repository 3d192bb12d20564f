#include "tools/cashier_day/session_printer.h"

#include <cstdio>

#include "common/text.h"

namespace qarvex::cashier {

using nativehost::HostValue;

namespace {

constexpr std::u16string_view kSlipRole = u"slip";
const std::vector<std::u16string_view> kCardRoles = {
    u"device", u"card number", u"amount", u"receipt number", u"reference number", u"authorisation code", kSlipRole};

std::string Utf8(std::u16string_view text) { return ToUtf8(text); }

std::string ValueText(const HostValue& value) {
  switch (value.kind()) {
    case HostValue::Kind::Empty: return "(empty)";
    case HostValue::Kind::Int: return std::to_string(value.AsInt());
    case HostValue::Kind::Double: {
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%.15g", value.AsDouble());
      return buffer;
    }
    case HostValue::Kind::Bool: return value.AsBool() ? "True" : "False";
    case HostValue::Kind::Text: return "\"" + Utf8(value.AsText()) + "\"";
    default: return "(other host value)";
  }
}

// The text with CR LF shown as " / ", for one-line display of questions.
std::string OneLine(std::u16string_view text) {
  std::u16string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      line += u" / ";
      ++i;
    } else {
      line += text[i];
    }
  }
  return Utf8(line);
}

}  // namespace

void SessionPrinter::SetComponent(nativehost::Component* component, nativehost::ReplacementHost* host) {
  component_ = component;
  host_ = host;
  questionsShown_ = host_->Questions().size();
}

void SessionPrinter::Heading(const std::string& text) { std::printf("\n=== %s\n", text.c_str()); }

void SessionPrinter::Note(const std::string& text) { std::printf("    %s\n", text.c_str()); }

void SessionPrinter::Slip(std::u16string_view text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u"\r\n", start);
    if (end == std::u16string_view::npos) end = text.size();
    std::printf("      | %s\n", Utf8(text.substr(start, end - start)).c_str());
    start = end + 2;
  }
}

void SessionPrinter::SetProperty(std::u16string_view name, const HostValue& value) {
  const bool written = component_->SetProp(name, value);
  const auto read = component_->GetProp(name);
  std::printf("  %s := %s -> %s, reads back %s\n", Utf8(name).c_str(), ValueText(value).c_str(),
              written ? "written" : "refused", ValueText(read.value).c_str());
  Expect(written && read.ok, "the property " + Utf8(name) + " takes its value");
}

void SessionPrinter::PrintParams(const std::vector<HostValue>& params, const std::vector<std::u16string_view>& roles,
                                 std::u16string_view skipRole) {
  for (size_t i = 0; i < params.size(); ++i) {
    const std::u16string_view role = i < roles.size() ? roles[i] : u"parameter";
    if (role == skipRole) continue;
    const bool block = params[i].kind() == HostValue::Kind::Text && params[i].AsText().find(u"\r\n") != std::u16string::npos;
    std::printf("      %s: %s\n", Utf8(role).c_str(), block ? "(text, printed below)" : ValueText(params[i]).c_str());
  }
}

void SessionPrinter::PrintNewQuestions() {
  const auto& questions = host_->Questions();
  for (; questionsShown_ < questions.size(); ++questionsShown_)
    std::printf("    question to the cashier: \"%s\"\n", OneLine(questions[questionsShown_]).c_str());
}

std::u16string SessionPrinter::LastError() {
  std::vector<HostValue> params(1);
  component_->CallFunc(u"ПолучитьОшибку", params);
  return params[0].kind() == HostValue::Kind::Text ? params[0].AsText() : std::u16string();
}

void SessionPrinter::Call(std::u16string_view name, std::vector<HostValue>& params,
                          std::initializer_list<std::u16string_view> roles, bool expected) {
  CallWithRoles(name, params, std::vector<std::u16string_view>(roles), expected);
}

void SessionPrinter::CardCall(std::u16string_view name, std::vector<HostValue>& params, bool expected) {
  CallWithRoles(name, params, kCardRoles, expected);
}

void SessionPrinter::CallWithRoles(std::u16string_view name, std::vector<HostValue>& params,
                                   const std::vector<std::u16string_view>& roles, bool expected) {
  std::printf("  > %s\n", Utf8(name).c_str());
  PrintParams(params, roles, kSlipRole);
  const auto result = component_->CallFunc(name, params);
  PrintNewQuestions();
  const bool returned = result.value.kind() == HostValue::Kind::Bool && result.value.AsBool();
  std::printf("  < %s returned %s\n", result.ok ? "call handled," : "call FAILED,", ValueText(result.value).c_str());
  if (!params.empty()) {
    std::printf("    out-parameters:\n");
    PrintParams(params, roles, kSlipRole);
  }
  if (!returned) {
    const std::u16string error = LastError();
    if (!error.empty()) std::printf("    last error: \"%s\"\n", Utf8(error).c_str());
  }
  // A slip is printed as a block, as the receipt printer would.
  for (std::size_t i = 0; i < params.size() && i < roles.size(); ++i) {
    if (roles[i] != kSlipRole || params[i].kind() != HostValue::Kind::Text || params[i].AsText().empty()) continue;
    std::printf("      slip:\n");
    Slip(params[i].AsText());
  }
  Expect(result.ok && returned == expected, Utf8(name) + " returns " + (expected ? "True" : "False"));
}

void SessionPrinter::Expect(bool holds, const std::string& what) {
  ++checks_;
  if (holds) return;
  ++failures_;
  std::printf("    UNEXPECTED: it does not hold that %s\n", what.c_str());
}

int SessionPrinter::Summary() const {
  if (failures_ == 0) {
    std::printf("\nThe day went as expected (%d checks).\n", checks_);
    return 0;
  }
  std::printf("\n%d of %d checks did not hold.\n", failures_, checks_);
  return 1;
}

}  // namespace qarvex::cashier
