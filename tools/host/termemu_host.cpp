// termemu_host: loads the component library as the 1C platform would and runs
// a smoke session, printing every step: class names, creation, handshake,
// GetInfo, RegisterExtensionAs, the property and method tables, destruction,
// and the balance of the host's memory.
//
// Usage: termemu_host [path-to-library]
#include <cstdio>
#include <exception>
#include <string>

#include "tools/host/replacement_host.h"

using namespace qarvex::nativehost;

namespace {

std::string Name(const std::optional<std::u16string>& name) {
  return name ? "\"" + Utf8(*name) + "\"" : std::string("(null)");
}

int RunSession(const std::string& path) {
  std::printf("Loading %s\n", path.c_str());
  ReplacementHost host(path);
  auto names = host.ClassNames();
  std::printf("GetClassNames: \"%s\" (%zu class(es))\n", Utf8(host.ClassNamesText()).c_str(),
              names.size());
  if (names.empty()) {
    std::printf("No class to create.\n");
    return 1;
  }
  int failures = 0;
  for (const auto& className : names) {
    auto component = host.Create(className);
    std::printf("GetClassObject(\"%s\"): %ld\n", Utf8(className).c_str(), host.LastCreateAnswer());
    if (!component) {
      ++failures;
      continue;
    }
    bool memOk = component->SetMemManager();
    bool initOk = component->Init();
    std::printf("setMemManager: %s, Init: %s\n", memOk ? "true" : "false", initOk ? "true" : "false");
    component->SetLocale(u"ru_RU");
    long info = component->GetInfo();
    std::printf("GetInfo: %ld\n", info);
    std::optional<std::u16string> extension;
    bool registered = component->RegisterExtensionAs(extension);
    std::printf("RegisterExtensionAs: %s, name %s\n", registered ? "true" : "false",
                Name(extension).c_str());
    long props = component->GetNProps();
    std::printf("Properties: %ld\n", props);
    for (long i = 0; i < props; ++i) {
      std::printf("  %2ld %s / %s%s%s\n", i, Name(component->GetPropName(i, 0)).c_str(),
                  Name(component->GetPropName(i, 1)).c_str(),
                  component->IsPropReadable(i) ? " readable" : "",
                  component->IsPropWritable(i) ? " writable" : "");
    }
    long methods = component->GetNMethods();
    std::printf("Methods: %ld\n", methods);
    for (long i = 0; i < methods; ++i) {
      std::printf("  %2ld %s / %s, %ld parameter(s)%s\n", i,
                  Name(component->GetMethodName(i, 0)).c_str(),
                  Name(component->GetMethodName(i, 1)).c_str(), component->GetNParams(i),
                  component->HasRetVal(i) ? ", returns a value" : "");
    }
    component->Done();
    std::printf("DestroyObject: %ld\n", component->Destroy());
    if (!memOk || !initOk || info != 2000 || !registered || !extension) ++failures;
  }
  for (const auto& error : host.Errors())
    std::printf("AddError %u \"%s\": %s\n", error.code, Utf8(error.source).c_str(),
                Utf8(error.description).c_str());
  auto memory = host.Memory();
  std::printf("Host memory: %s\n", memory.Describe().c_str());
  if (!memory.Balanced()) ++failures;
  std::printf(failures == 0 ? "Session completed: everything answered as expected.\n"
                            : "Session completed with %d problem(s).\n",
              failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : QARVEX_COMPONENT_PATH;
  try {
    return RunSession(path);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "termemu_host: %s\n", e.what());
    return 2;
  }
}
