// old_system_day: the component library run on an older Linux, inside a
// Debian root, by a host compiled there with that system's own compiler and
// linked against that system's own (older) C++ runtime, as the platform's
// client brings its own. It is built and run by scripts/test-old-linux.sh;
// it uses nothing but the replacement host, so it needs no library of the
// project's on that system.
//
// The day: connect, payment, return, cancellation, pre-authorisation and its
// confirmation, settlement; then a payment left in the journal, the library
// unloaded, and loaded again by a new host that settles it, so the journal
// is read back after a clean unload. The log is on all day; the stop line
// must be in the file as soon as the library has been unloaded.
//
// Usage: old_system_day LIBRARY DATA-FOLDER (an empty folder)
// Prints every failed check and a closing line "N of M checks passed";
// exit status 0 only when all passed.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/replacement_host.h"

using namespace qarvex::nativehost;
namespace fs = std::filesystem;

namespace {

int g_checks = 0;
int g_failures = 0;

bool Check(bool condition, const std::string& what) {
  ++g_checks;
  if (!condition) {
    ++g_failures;
    std::printf("FAILED: %s\n", what.c_str());
  }
  return condition;
}

constexpr char16_t kClass[] = u"qarvex_termemu";

std::vector<HostValue> CardParams(const char16_t* card, double amount, std::u16string receipt = {}) {
  return {HostValue(u"T1"), HostValue(card), HostValue(amount), HostValue(std::move(receipt)),
          HostValue(u""),   HostValue(u""),  HostValue(u"")};
}

// Calls a method; true when it answered and returned True.
bool Succeeds(Component& c, std::u16string_view method, std::vector<HostValue>& params) {
  const CallResult r = c.CallFunc(method, params);
  const bool ok = r.ok && r.value.kind() == HostValue::Kind::Bool && r.value.AsBool();
  if (!ok) {
    std::vector<HostValue> error{HostValue(u"")};
    c.CallFunc(u"ПолучитьОшибку", error);
    std::printf("%s: %s\n", Utf8(method).c_str(), Utf8(error[0].AsText()).c_str());
  }
  return ok;
}

std::unique_ptr<Component> Connected(ReplacementHost& host) {
  auto c = host.Create(kClass);
  if (!Check(c && c->Handshake(), "the component is created and takes the host's memory and callbacks"))
    return nullptr;
  Check(c->SetProp(u"LogEnabled", HostValue(true)), "logging is switched on");
  std::vector<HostValue> device{HostValue(u"")};
  Check(Succeeds(*c, u"Подключить", device), "connect");
  return c;
}

std::string FolderText(const fs::path& folder, const std::string& extension) {
  std::string text;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (entry.path().extension() != extension) continue;
    std::ifstream file(entry.path(), std::ios::binary);
    text += std::string(std::istreambuf_iterator<char>(file), {});
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: old_system_day LIBRARY DATA-FOLDER\n");
    return 2;
  }
  const std::string library = argv[1];
  const fs::path data = argv[2];
  fs::create_directories(data / "machine");
  fs::create_directories(data / "user");
  ::setenv("XDG_DATA_DIRS", (data / "machine").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (data / "user").c_str(), 1);
  const fs::path folder = data / "machine" / "qarvex_termemu";
  const std::string stopLine = "============Stop log===============\r\n\r\n";

  try {
    {
      ReplacementHost host(library);
      Check(host.ClassNamesText() == kClass, "the library lists its one class");
      auto c = Connected(host);
      if (!c) return 1;

      auto pay = CardParams(u"4276380012345678", 1500);
      Check(Succeeds(*c, u"ОплатитьПлатежнойКартой", pay) && pay[3] == HostValue(u"000001"),
            "payment of 1500 is receipt 000001");
      Check(pay[1] == HostValue(u"************5678"), "the card number comes back masked");
      Check(pay[6].AsText().find(u"1500") != std::u16string::npos, "the payment's slip shows its amount");
      auto ret = CardParams(u"4276380012345678", 300.5, pay[3].AsText());
      Check(Succeeds(*c, u"ВернутьПлатежПоПлатежнойКарте", ret), "return of 300.5");
      auto mistaken = CardParams(u"2200123456789010", 99.9);
      Check(Succeeds(*c, u"ОплатитьПлатежнойКартой", mistaken), "payment of 99.9");
      auto cancel = CardParams(u"2200123456789010", 99.9, mistaken[3].AsText());
      Check(Succeeds(*c, u"ОтменитьПлатежПоПлатежнойКарте", cancel), "its cancellation");
      auto auth = CardParams(u"5469550011112222", 2000);
      Check(Succeeds(*c, u"ПреавторизацияПоПлатежнойКарте", auth), "pre-authorisation of 2000");
      auto confirm = CardParams(u"5469550011112222", 1800, auth[3].AsText());
      Check(Succeeds(*c, u"ЗавершитьПреавторизациюПоПлатежнойКарте", confirm), "its confirmation for 1800");
      std::vector<HostValue> settle{HostValue(u"T1"), HostValue(u"")};
      Check(Succeeds(*c, u"ИтогиДняПоКартам", settle), "settlement");
      const std::u16string report = settle[1].AsText();
      Check(report.find(u"1500") != std::u16string::npos && report.find(u"300") != std::u16string::npos,
            "the settlement report lists the payment and the return");

      auto late = CardParams(u"4276380012345678", 42);
      Check(Succeeds(*c, u"ОплатитьПлатежнойКартой", late) && late[3] == HostValue(u"000001"),
            "the first payment after settlement is receipt 000001 again");
      std::vector<HostValue> device{HostValue(u"T1")};
      Check(Succeeds(*c, u"Отключить", device), "disconnect");
      c.reset();
      Check(host.Memory().Balanced(), "every host block was freed: " + host.Memory().Describe());
    }  // the library is unloaded here

    const std::string log = FolderText(folder, ".log");
    Check(log.find("PayByPaymentCard") != std::string::npos, "the log traces the payments");
    Check(log.size() >= stopLine.size() && log.compare(log.size() - stopLine.size(), stopLine.size(), stopLine) == 0,
          "the log ends with the stop line as soon as the library is unloaded");
    Check(!fs::exists(folder / "OperJournal" / "journal.db3-journal"), "no rollback journal is left behind");

    {
      ReplacementHost host(library);
      auto c = Connected(host);
      if (!c) return 1;
      std::vector<HostValue> settle{HostValue(u"T1"), HostValue(u"")};
      Check(Succeeds(*c, u"ИтогиДняПоКартам", settle) && settle[1].AsText().find(u"42") != std::u16string::npos,
            "the journal, read back after the unload, still holds the late payment");
    }
  } catch (const std::exception& e) {
    Check(false, std::string("the host failed: ") + e.what());
  }
  std::printf("%d of %d checks passed\n", g_checks - g_failures, g_checks);
  return g_failures == 0 ? 0 : 1;
}
