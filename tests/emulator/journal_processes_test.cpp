// Several processes writing one journal file at the same time: every insert
// must succeed (writers wait for the lock) and every ID a process is handed
// must designate the row that process stored.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "emulator/uOperJournal.h"
#include "journal_fixture.h"
#include "platform/racing_processes.h"

namespace qarvex::emulator {
namespace {

using testing::JournalTest;

constexpr int kProcesses = 4;
constexpr int kInsertsEach = 250;

WString CardOf(int process, int index) {
  return AsciiToW("proc" + std::to_string(process) + "-" + std::to_string(index));
}
int AmountOf(int process, int index) { return process * 100000 + index; }

// Runs in the forked child: waits for the start signal, inserts, writes the
// IDs it was given (one per line) and exits with 0 only if all succeeded.
[[noreturn]] void RunWriter(const WString& deviceFolder, int process, int startPipe, const std::string& idFile) {
  char go = 0;
  if (read(startPipe, &go, 1) != 1) _exit(2);
  try {
    std::ofstream out(idFile);
    TOperJournal journal(deviceFolder);  // opened while the others open too
    journal.Init();
    for (int i = 0; i < kInsertsEach; ++i) {
      int id = 0;
      journal.AddOperation(AmountOf(process, i), otPay, CardOf(process, i), id);
      out << id << '\n';
    }
    out.close();
    _exit(out ? 0 : 3);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "writer %d: %s\n", process, e.what());
    _exit(1);
  }
}

TEST_F(JournalTest, FourProcessesInsertingAtOnceEachGetTheirOwnRowIds) {
  { TOperJournal journal(DeviceFolder()); }  // the file exists before the race
  qarvex::testing::RaceProcesses(kProcesses, "writer", [&](int p, int startFd) {
    RunWriter(DeviceFolder(), p, startFd, (root_ / ("ids" + std::to_string(p))).string());
  });

  TOperJournal journal(DeviceFolder());
  std::set<int> allIds;
  for (int p = 0; p < kProcesses; ++p) {
    std::ifstream in(root_ / ("ids" + std::to_string(p)));
    int id = 0;
    for (int i = 0; i < kInsertsEach; ++i) {
      ASSERT_TRUE(in >> id) << "process " << p << " reported only " << i << " IDs";
      allIds.insert(id);
      int amount = 0, operType = -1;
      WString card;
      TDateTime date = 0;
      int lookup = id;
      journal.GetOperData(lookup, amount, operType, card, date);
      EXPECT_EQ(card, CardOf(p, i)) << "ID " << id;
      EXPECT_EQ(amount, AmountOf(p, i)) << "ID " << id;
    }
  }
  EXPECT_EQ(allIds.size(), static_cast<size_t>(kProcesses * kInsertsEach));
  EXPECT_EQ(RawQuery("select count(*) from journal"), std::to_string(kProcesses * kInsertsEach));
}

}  // namespace
}  // namespace qarvex::emulator
