// The parts of the replacement host that do not depend on how the platform
// lays out its interfaces; every target's implementation shares them.
#include <stdexcept>

#include "tools/host/replacement_host.h"

namespace qarvex::nativehost {

std::string MemoryReport::Describe() const {
  std::string text = std::to_string(allocations) + " blocks handed out, " + std::to_string(frees) +
                     " taken back, " + std::to_string(liveBlocks) + " live, " +
                     std::to_string(refusals) + " refused";
  for (const auto& fault : faults) text += "; " + fault;
  return text;
}

std::vector<std::u16string> ReplacementHost::ClassNames() {
  std::vector<std::u16string> names;
  std::u16string text = ClassNamesText();
  if (text.empty()) return names;
  std::size_t start = 0;
  for (;;) {
    std::size_t bar = text.find(u'|', start);
    names.push_back(text.substr(start, bar - start));
    if (bar == std::u16string::npos) break;
    start = bar + 1;
  }
  return names;
}

bool Component::Handshake() { return SetMemManager() && Init(); }

std::optional<std::u16string> Component::ExtensionName() {
  std::optional<std::u16string> name;
  RegisterExtensionAs(name);
  return name;
}

namespace {
std::string Ascii(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}
}  // namespace

CallResult Component::CallFunc(std::u16string_view name, std::vector<HostValue>& params) {
  long index = FindMethod(name);
  if (index < 0) throw std::runtime_error("no method " + Ascii(name));
  return CallAsFunc(index, params);
}

CallResult Component::CallProc(std::u16string_view name, std::vector<HostValue>& params) {
  long index = FindMethod(name);
  if (index < 0) throw std::runtime_error("no method " + Ascii(name));
  return CallAsProc(index, params);
}

CallResult Component::GetProp(std::u16string_view name) {
  long index = FindProp(name);
  if (index < 0) throw std::runtime_error("no property " + Ascii(name));
  return GetPropVal(index);
}

bool Component::SetProp(std::u16string_view name, const HostValue& value) {
  long index = FindProp(name);
  if (index < 0) throw std::runtime_error("no property " + Ascii(name));
  return SetPropVal(index, value);
}

}  // namespace qarvex::nativehost
