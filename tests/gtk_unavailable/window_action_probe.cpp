// A host that cannot show the component's windows: loads the component,
// runs one additional action by name, and then goes on using it (version,
// a payment) to show the process survived the refusal. Optionally loads
// GTK 2 first, as a host with a GTK 2 plug-in would have it.
//
// Usage: window_action_probe ACTION [--gtk2 LIBRARY]
// Prints "action: true|false", "error: TEXT", "version: TEXT",
// "payment: true|false" and exits 0 when the host got that far.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "e2e_terminal/terminal_fixture.h"
#include "tools/host/replacement_host.h"

using namespace qarvex::nativehost;
using qarvex::testing::U16;
using qarvex::testing::Utf8;

namespace {

bool Call(Component& c, std::u16string_view method, std::vector<HostValue>& params) {
  const CallResult r = c.CallFunc(method, params);
  return r.ok && r.value.kind() == HostValue::Kind::Bool && r.value.AsBool();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (argc == 4 && std::strcmp(argv[2], "--gtk2") == 0 && ::dlopen(argv[3], RTLD_NOW | RTLD_GLOBAL) == nullptr) {
    std::fprintf(stderr, "cannot load GTK 2: %s\n", ::dlerror());
    return 2;
  }
  ReplacementHost host(QARVEX_COMPONENT_PATH);
  auto driver = host.Create(u"qarvex_termemu");
  if (!driver || !driver->Handshake()) return 2;
  std::vector<HostValue> device{HostValue(u"dev")};
  if (!Call(*driver, u"Подключить", device)) return 2;

  std::vector<HostValue> action{HostValue(U16(argv[1]))};
  std::printf("action: %s\n", Call(*driver, u"ВыполнитьДополнительноеДействие", action) ? "true" : "false");
  std::vector<HostValue> error(1);
  Call(*driver, u"ПолучитьОшибку", error);
  std::printf("error: %s\n", Utf8(error[0].AsText()).c_str());

  std::vector<HostValue> none;
  std::printf("version: %s\n", Utf8(driver->CallFunc(u"GetVersion", none).value.AsText()).c_str());
  std::vector<HostValue> pay{HostValue(u"dev"), HostValue(u"4276380012345678"), HostValue(100.0), HostValue(u""),
                             HostValue(u""), HostValue(u""), HostValue(u"")};
  std::printf("payment: %s\n", Call(*driver, u"ОплатитьПлатежнойКартой", pay) ? "true" : "false");
  driver.reset();
  std::printf("memory: %s\n", host.Memory().Balanced() ? "balanced" : host.Memory().Describe().c_str());
  return 0;
}
