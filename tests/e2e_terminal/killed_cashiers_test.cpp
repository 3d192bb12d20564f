// Cashiers' processes killed in the middle of paying, while others pay on
// against the same journal: the survivors finish every payment (a writer
// killed in its turn hands the turn on, so nobody waits for the dead), the
// file stays intact, every payment a process was told it made is stored,
// and a killed process left at most the one payment it was inside of.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "e2e/e2e_support.h"
#include "platform/temp_folders.h"
#include "tools/host/replacement_host.h"

namespace qarvex::testing {
namespace {

using nativehost::HostValue;
using nativehost::ReplacementHost;

constexpr int kSurvivors = 2, kKilled = 4, kPaymentsEach = 150;

std::u16string CardOf(int process, int index) {
  const std::string card = "card-" + std::to_string(process) + "-" + std::to_string(index) + "-0000";
  return std::u16string(card.begin(), card.end());
}

// Pays `payments` times (endlessly for 0), reporting each approved
// payment's index on `reportFd` as soon as the call returns.
[[noreturn]] void Cashier(int process, int payments, int reportFd) {
  try {
    ReplacementHost host(ComponentUnderTest());
    auto terminal = host.Create(u"qarvex_termemu");
    std::vector<HostValue> open{HostValue(u"dev")};
    if (!terminal || !terminal->Handshake() || !terminal->CallFunc(u"Подключить", open).value.AsBool()) _exit(3);
    int failures = 0;
    for (int i = 0; payments == 0 || i < payments; ++i) {
      std::vector<HostValue> p{HostValue(u"dev"), HostValue(CardOf(process, i)), HostValue(10.0), HostValue(u""),
                               HostValue(u""),    HostValue(u""),               HostValue(u"")};
      const auto r = terminal->CallFunc(u"ОплатитьПлатежнойКартой", p);
      if (!r.ok || !r.value.AsBool()) {
        ++failures;
        continue;
      }
      const int line[2] = {process, i};
      if (write(reportFd, line, sizeof line) != sizeof line) _exit(6);
    }
    _exit(failures == 0 ? 0 : 1);
  } catch (...) {
    _exit(5);
  }
}

TEST(KilledCashiersTest, SurvivorsFinishAndNothingToldIsLost) {
  TempFolders folders;
  int report[2];
  ASSERT_EQ(pipe(report), 0);
  std::vector<pid_t> survivors, killed;
  for (int p = 0; p < kSurvivors + kKilled; ++p) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(report[0]);
      Cashier(p, p < kSurvivors ? kPaymentsEach : 0, report[1]);
    }
    (p < kSurvivors ? survivors : killed).push_back(pid);
  }
  close(report[1]);

  // Collect reports on a thread while the killed cashiers are killed one by
  // one, at moments spread over their paying.
  std::map<int, std::vector<int>> told;
  std::thread reader([&] {
    int line[2];
    while (read(report[0], line, sizeof line) == sizeof line) told[line[0]].push_back(line[1]);
  });
  const auto from = std::chrono::steady_clock::now();
  for (size_t k = 0; k < killed.size(); ++k) {
    std::this_thread::sleep_for(std::chrono::milliseconds(150 + 37 * static_cast<int>(k)));
    kill(killed[k], SIGKILL);
  }
  for (pid_t pid : killed) waitpid(pid, nullptr, 0);
  for (pid_t pid : survivors) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a surviving cashier failed, status " << status;
  }
  reader.join();
  close(report[0]);
  // A generous bound: waiting for a dead writer's turn each time would take
  // five seconds a payment.
  EXPECT_LT(std::chrono::steady_clock::now() - from, std::chrono::seconds(60));

  std::map<std::u16string, int> rows;  // card -> count
  sqlite3* db = nullptr;
  const std::string path = folders.machine() + "/qarvex_termemu/OperJournal/journal.db3";
  // Read-write, as the next cashier opens it: a cashier killed after the
  // survivors finished can leave a hot rollback journal, which only a
  // writer may roll back (a read-only reader gets SQLITE_READONLY).
  ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  sqlite3_stmt* st = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "pragma integrity_check", -1, &st, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "ok");
  sqlite3_finalize(st);
  ASSERT_EQ(sqlite3_prepare_v2(db, "select CARD from journal", -1, &st, nullptr), SQLITE_OK);
  while (sqlite3_step(st) == SQLITE_ROW) {
    const std::string card = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    ++rows[std::u16string(card.begin(), card.end())];
  }
  sqlite3_finalize(st);
  sqlite3_close(db);

  for (int p = 0; p < kSurvivors + kKilled; ++p) {
    const std::vector<int>& indices = told[p];
    if (p < kSurvivors) {
      EXPECT_EQ(indices.size(), static_cast<size_t>(kPaymentsEach)) << "survivor " << p;
    }
    int stored = 0;
    for (int i = 0; rows.count(CardOf(p, i)) != 0; ++i) {
      EXPECT_EQ(rows[CardOf(p, i)], 1) << "payment " << i << " of cashier " << p << " stored twice";
      ++stored;
    }
    EXPECT_GE(stored, static_cast<int>(indices.size())) << "cashier " << p << ": a payment it was told of is missing";
    EXPECT_LE(stored, static_cast<int>(indices.size()) + 1) << "cashier " << p << ": rows nobody was told of";
  }
}

}  // namespace
}  // namespace qarvex::testing
