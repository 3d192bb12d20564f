// cashier_day: one cashier's working day with the emulated acquiring
// terminal. The component library is loaded through the replacement host,
// exactly as the 1C platform loads it, and driven only through its Native
// API: connect, payment, return, pre-authorisation and its confirmation, a
// payment cancelled again, a payment the cashier declines, an emergency
// reversal, the journal report, settlement, disconnect. Every call is
// printed with its parameters, its return value, its out-parameters and
// every slip, in UTF-8 (slip lines end with CR LF in the component; they are
// printed with plain line ends).
//
// The component keeps its journal in its own data folder: the program points
// XDG_DATA_DIRS and XDG_DATA_HOME inside DATA-FOLDER (default: a folder
// "cashier-day-data" next to the program) before the library is loaded, and
// starts from an empty journal there, so no real journal is ever touched.
//
// Usage: cashier_day [--data DATA-FOLDER] [path-to-library]
// Exit code 0 when every call answered as the day expects, 1 otherwise.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "common/text.h"
#include "emulator/device_folder.h"
#include "emulator/slip_texts.h"
#include "emulator/uOperJournal.h"
#include "tools/cashier_day/session_printer.h"
#include "tools/host/replacement_host.h"

using namespace qarvex::nativehost;
using qarvex::cashier::SessionPrinter;

namespace {

constexpr char16_t kClass[] = u"qarvex_termemu";
constexpr char16_t kDevice[] = u"TERMINAL-1";
constexpr int kLineLength = 32;

// The card methods' parameters: device, card, amount, receipt number,
// reference number, authorisation code, slip.
std::vector<HostValue> CardParams(const char16_t* card, double amount, std::u16string receipt = {}) {
  return {HostValue(kDevice), HostValue(card), HostValue(amount), HostValue(std::move(receipt)),
          HostValue(u""),     HostValue(u""),  HostValue(u"")};
}

// The journal report the additional-operations panel shows, read from the
// same journal file with the component's own report code: the day runs
// without a display, and the host has no other way to ask for it.
std::u16string JournalReport() {
  using namespace qarvex::emulator;
  TOperJournal journal(DeviceFolderFor(kClass));
  return GetReport(journal, u"", kLineLength);
}

std::filesystem::path DefaultDataFolder() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return (error ? std::filesystem::current_path() : self.parent_path()) / "cashier-day-data";
}

// Points the component's data folders inside `data` and removes the journal
// a previous run there left behind.
void PrepareDataFolder(const std::filesystem::path& data) {
  const auto machine = data / "machine";
  const auto user = data / "user";
  std::filesystem::create_directories(machine);
  std::filesystem::create_directories(user);
  ::setenv("XDG_DATA_DIRS", machine.c_str(), 1);
  ::setenv("XDG_DATA_HOME", user.c_str(), 1);
  for (const auto& base : {machine, user}) {
    std::error_code ignored;
    std::filesystem::remove(base / "qarvex_termemu" / "OperJournal" / "journal.db3", ignored);
  }
}

int RunDay(const std::string& library) {
  SessionPrinter out;
  out.Heading("Loading " + library);
  ReplacementHost host(library);
  auto terminal = host.Create(kClass);
  if (!terminal || !terminal->Handshake()) {
    std::printf("The component could not be created.\n");
    return 1;
  }
  out.SetComponent(terminal.get(), &host);

  out.Heading("Morning: settings and connection");
  out.SetProperty(u"ДлинаСтроки", HostValue(kLineLength));
  out.SetProperty(u"ИспользоватьДиалоги", HostValue(true));
  std::vector<HostValue> open{HostValue(kDevice)};
  out.Call(u"Подключить", open, {u"device"}, true);

  // A card method called with its seven parameters, expected to return
  // True; the parameters as the component left them.
  const auto card = [&](std::u16string_view method, const char16_t* number, double amount,
                        std::u16string receipt = {}) {
    auto params = CardParams(number, amount, std::move(receipt));
    out.CardCall(method, params, true);
    return params;
  };

  // The cashier confirms every question except the declined payment's.
  host.SetDefaultAnswer(MsgBoxAnswer::Yes);

  out.Heading("Payment of 1500");
  const auto pay = card(u"ОплатитьПлатежнойКартой", u"4276380012345678", 1500);
  out.Expect(pay[3] == HostValue(u"000001"), "the first payment of the day is receipt 000001");

  out.Heading("Return of 300.5");
  card(u"ВернутьПлатежПоПлатежнойКарте", u"4276380012345678", 300.5);

  out.Heading("Pre-authorisation of 2000 and its confirmation for 1800");
  const auto auth = card(u"ПреавторизацияПоПлатежнойКарте", u"5469550011112222", 2000);
  card(u"ЗавершитьПреавторизациюПоПлатежнойКарте", u"5469550011112222", 1800, auth[3].AsText());

  out.Heading("Payment of 99.9 cancelled again");
  const auto mistaken = card(u"ОплатитьПлатежнойКартой", u"2200123456789010", 99.9);
  card(u"ОтменитьПлатежПоПлатежнойКарте", u"2200123456789010", 99.9, mistaken[3].AsText());

  out.Heading("Payment of 750 declined by the cashier");
  host.ScriptAnswers({MsgBoxAnswer::No});
  const auto declined = card(u"ОплатитьПлатежнойКартой", u"4000000000000002", 750);
  out.Expect(declined[3] == HostValue(u"000000"), "a declined payment comes back as receipt 000000");

  out.Heading("Payment of 10 lost on the line and reversed");
  card(u"ОплатитьПлатежнойКартой", u"4276380012345678", 10);
  std::vector<HostValue> reversal{HostValue(kDevice)};
  out.Call(u"АварийнаяОтменаОперации", reversal, {u"device"}, true);

  out.Heading("Where slips are printed");
  std::vector<HostValue> none;
  out.Call(u"ПечатьКвитанцийНаТерминале", none, {}, false);

  out.Heading("The journal report");
  std::vector<HostValue> panel{HostValue(u"ShowAdditionalOperationPanel")};
  out.Call(u"ВыполнитьДополнительноеДействие", panel, {u"action"}, false);
  out.Note("No display for the panel's window in this unattended day; the report it would show, from the same journal:");
  out.Slip(JournalReport());

  out.Heading("Evening: settlement and disconnection");
  std::vector<HostValue> settle{HostValue(kDevice), HostValue(u"")};
  out.Call(u"ИтогиДняПоКартам", settle, {u"device", u"settlement text"}, true);
  out.Slip(settle[1].AsText());
  out.Note("The journal after settlement:");
  out.Slip(JournalReport());
  std::vector<HostValue> close{HostValue(kDevice)};
  out.Call(u"Отключить", close, {u"device"}, true);

  terminal->Done();
  terminal.reset();
  const auto memory = host.Memory();
  out.Heading("Host memory: " + memory.Describe());
  out.Expect(memory.Balanced(), "every block the host handed out came back");
  for (const auto& error : host.Errors())
    out.Note("AddError " + qarvex::ToUtf8(error.source) + ": " + qarvex::ToUtf8(error.description));
  out.Expect(host.Errors().empty(), "no call reached the host as an error report");
  return out.Summary();
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path data = DefaultDataFolder();
  std::string library = QARVEX_COMPONENT_PATH;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--data" && i + 1 < argc) {
      data = argv[++i];
    } else {
      library = arg;
    }
  }
  // The day runs unattended: the panel's window must not open and wait for
  // somebody to close it, so the component finds no display.
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  try {
    PrepareDataFolder(std::filesystem::absolute(data));
    std::printf("Data folder: %s\n", std::filesystem::absolute(data).c_str());
    return RunDay(library);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cashier_day: %s\n", e.what());
    return 2;
  }
}
