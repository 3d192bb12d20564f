// Four cashiers' processes paying at the same moment through the real
// component against one journal: every payment succeeds, every one is
// stored once, and every receipt number a process was handed designates the
// row that process stored.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "e2e/e2e_support.h"
#include "platform/racing_processes.h"
#include "platform/temp_folders.h"
#include "tools/host/replacement_host.h"

namespace qarvex::testing {
namespace {

using nativehost::HostValue;
using nativehost::ReplacementHost;

constexpr int kProcesses = 4;
constexpr int kPaymentsEach = 250;

std::string CardOf(int process, int index) {
  return "card-" + std::to_string(process) + "-" + std::to_string(index) + "-0000";
}
// Whole kopecks, distinct per process and payment.
long long KopecksOf(int process, int index) { return (process + 1) * 100000LL + index; }

std::u16string Ascii16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// The child: waits for the start signal, pays, writes "index receipt" lines,
// exits 0 only when every payment returned True with a number.
[[noreturn]] void RunCashier(int process, int startPipe, const std::string& receiptFile) {
  char go = 0;
  if (read(startPipe, &go, 1) != 1) _exit(2);
  try {
    ReplacementHost host(ComponentUnderTest());
    auto terminal = host.Create(u"qarvex_termemu");
    if (!terminal || !terminal->Handshake()) _exit(3);
    std::vector<HostValue> open{HostValue(u"dev")};
    if (!terminal->CallFunc(u"Подключить", open).value.AsBool()) _exit(4);
    std::ofstream out(receiptFile);
    int failures = 0;
    for (int i = 0; i < kPaymentsEach; ++i) {
      std::vector<HostValue> p{HostValue(u"dev"),
                               HostValue(Ascii16(CardOf(process, i))),
                               HostValue(static_cast<double>(KopecksOf(process, i)) / 100),
                               HostValue(u""),
                               HostValue(u""),
                               HostValue(u""),
                               HostValue(u"")};
      const auto r = terminal->CallFunc(u"ОплатитьПлатежнойКартой", p);
      if (!r.ok || !r.value.AsBool()) {
        std::vector<HostValue> error(1);
        terminal->CallFunc(u"ПолучитьОшибку", error);
        std::string text(error[0].AsText().begin(), error[0].AsText().end());
        std::fprintf(stderr, "cashier %d payment %d failed: %s\n", process, i, text.c_str());
        ++failures;
        continue;
      }
      out << i << ' ' << std::string(p[3].AsText().begin(), p[3].AsText().end()) << '\n';
    }
    terminal.reset();
    out.close();
    _exit(failures == 0 && out ? 0 : 1);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cashier %d: %s\n", process, e.what());
    _exit(5);
  }
}

struct StoredPayment {
  std::string card;
  long long kopecks = 0;
};

TEST(TerminalReliabilityTest, FourProcessesPayingAtOnceEachGetTheirOwnRows) {
  TempFolders folders;
  ::setenv("LC_ALL", "C", 1);
  RaceProcesses(kProcesses, "cashier", [&](int p, int startFd) {
    RunCashier(p, startFd, folders.root() + "/receipts-" + std::to_string(p));
  });

  // The journal, read straight from the file.
  std::map<int, StoredPayment> rows;
  sqlite3* db = nullptr;
  const std::string path = folders.machine() + "/qarvex_termemu/OperJournal/journal.db3";
  ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* st = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "select ID, CARD, AMOUNT, OPER from journal", -1, &st, nullptr), SQLITE_OK);
  while (sqlite3_step(st) == SQLITE_ROW) {
    EXPECT_EQ(sqlite3_column_int(st, 3), 0);
    rows[sqlite3_column_int(st, 0)] = {reinterpret_cast<const char*>(sqlite3_column_text(st, 1)),
                                       sqlite3_column_int64(st, 2)};
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  EXPECT_EQ(rows.size(), static_cast<size_t>(kProcesses * kPaymentsEach));

  int receipts = 0;
  for (int p = 0; p < kProcesses; ++p) {
    std::ifstream in(folders.root() + "/receipts-" + std::to_string(p));
    int index = 0;
    std::string receipt;
    while (in >> index >> receipt) {
      ++receipts;
      ASSERT_EQ(receipt.size(), 6u) << receipt;
      const auto row = rows.find(std::stoi(receipt));
      ASSERT_NE(row, rows.end()) << "receipt " << receipt << " has no row";
      EXPECT_EQ(row->second.card, CardOf(p, index)) << "receipt " << receipt;
      EXPECT_EQ(row->second.kopecks, KopecksOf(p, index)) << "receipt " << receipt;
    }
  }
  EXPECT_EQ(receipts, kProcesses * kPaymentsEach);
}

}  // namespace
}  // namespace qarvex::testing
