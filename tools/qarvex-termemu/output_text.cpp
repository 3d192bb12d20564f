#include "tools/qarvex-termemu/output_text.h"

#include "common/text.h"
#include "tools/qarvex-termemu/typed_value.h"

namespace qarvex::cli {

using nativehost::HostValue;

namespace {

std::string TextOf(const HostValue& value) {
  return value.kind() == HostValue::Kind::Text ? ToUtf8(value.AsText()) : TypedValueText(value);
}

bool IsMultiLine(const HostValue& value) {
  return value.kind() == HostValue::Kind::Text && value.AsText().find(u'\n') != std::u16string::npos;
}

std::string Indent(const std::string& text, const std::string& by) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    out += by + text.substr(start, end - start) + "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

// Display width of UTF-8 text: one column per character (the component's
// texts are Latin and Cyrillic).
std::size_t Columns(std::string_view text) {
  std::size_t columns = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++columns;
  return columns;
}

}  // namespace

std::string PrintedText(std::u16string_view text) {
  std::string out;
  for (char c : ToUtf8(text))
    if (c != '\r') out += c;
  if (!out.empty() && out.back() != '\n') out += '\n';
  return out;
}

std::string NumbersLine(const CallReport& report) {
  return "Receipt " + TextOf(report.Out("receipt_number")) + ", reference " + TextOf(report.Out("reference_number")) +
         ", authorisation code " + TextOf(report.Out("authorisation_code")) + "\n";
}

std::string CallListing(const CallReport& report) {
  std::string text = ToUtf8(report.method) + " (" + ToUtf8(report.englishName) + ") returned " +
                     TypedValueText(report.returned) + "\n";
  for (std::size_t i = 0; i < report.parameters.size(); ++i) {
    const auto& [role, value] = report.parameters[i];
    const std::string head = "  " + std::to_string(i) + " " + role + ": ";
    if (IsMultiLine(value)) {
      text += head + "s: (" + std::to_string(value.AsText().size()) + " characters)\n";
      text += Indent(PrintedText(value.AsText()), "      ");
    } else {
      text += head + TypedValueText(value) + "\n";
    }
  }
  if (!report.lastError.empty()) text += "  last error: " + ToUtf8(report.lastError) + "\n";
  return text;
}

std::string LabelledLines(const std::vector<std::pair<std::string, std::string>>& lines) {
  std::size_t width = 0;
  for (const auto& [label, value] : lines) width = std::max(width, Columns(label));
  std::string text;
  for (const auto& [label, value] : lines)
    text += label + ":" + std::string(width - Columns(label) + 1, ' ') + value + "\n";
  return text;
}

}  // namespace qarvex::cli
