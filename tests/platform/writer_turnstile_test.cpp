// The writers' turnstile of a shared file: one turn at a time across threads
// and processes, a bounded wait, the turn of a writer killed in it handed on,
// and no turn (never a hang) where the turnstile cannot live.
#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <chrono>
#include <filesystem>
#include <future>

#include "platform/writer_turnstile.h"
#include "temp_folders.h"

namespace qarvex::platform {
namespace {

using testing::TempFolders;
using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

Clock::time_point In(milliseconds ms) { return Clock::now() + ms; }

// Enter on another thread (a turn belongs to its thread) with its own object.
bool EnterElsewhere(const WString& file, milliseconds wait) {
  return std::async(std::launch::async, [&] {
           WriterTurnstile other(file);
           return other.Enter(In(wait));
         }).get();
}

TEST(WriterTurnstile, OneTurnAtATimeWithABoundedWaitAndTheFileOpenToEveryAccount) {
  TempFolders t;
  const WString file = FromUtf8(t.root() + "/journal.db3.writers");
  WriterTurnstile first(file);
  ASSERT_TRUE(first.Enter(In(milliseconds(1000))));
  EXPECT_EQ(testing::ModeOf(t.root() + "/journal.db3.writers"), 0666u);

  const auto from = Clock::now();
  EXPECT_FALSE(EnterElsewhere(file, milliseconds(150))) << "the turn is taken";
  EXPECT_GE(Clock::now() - from, milliseconds(150)) << "waited to the bound";
  EXPECT_TRUE(first.Enter(In(milliseconds(10)))) << "a holder asking again keeps its turn";

  first.Leave();
  first.Leave();  // no turn held: nothing happens
  EXPECT_TRUE(EnterElsewhere(file, milliseconds(1000)));
}

// Whether the system hands on the mutexes of a thread that died holding
// them: it keeps a list of them per thread (set_robust_list). User-mode
// emulators such as qemu-user do not.
bool SystemKeepsRobustMutexLists() {
  void* head = nullptr;
  size_t length = 0;
  return ::syscall(SYS_get_robust_list, 0, &head, &length) == 0 || errno != ENOSYS;
}

TEST(WriterTurnstile, TheTurnOfAWriterKilledInItPassesOn) {
  if (!SystemKeepsRobustMutexLists())
    GTEST_SKIP() << "this system (an emulator) does not hand on the mutexes of a killed process";
  TempFolders t;
  const WString file = FromUtf8(t.root() + "/journal.db3.writers");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    WriterTurnstile dying(file);
    ::_exit(dying.Enter(In(milliseconds(1000))) ? 0 : 1);  // never leaves
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child had its turn";
  WriterTurnstile survivor(file);
  EXPECT_TRUE(survivor.Enter(In(milliseconds(1000))));
  survivor.Leave();
  EXPECT_TRUE(EnterElsewhere(file, milliseconds(1000))) << "and the queue works on";
}

TEST(WriterTurnstile, WhereItCannotLiveThereIsNoTurnAndNoWait) {
  TempFolders t;
  std::filesystem::create_directories(t.root() + "/folder-in-the-way");
  for (const std::string& path : {t.root() + "/missing/journal.db3.writers", t.root() + "/folder-in-the-way"}) {
    WriterTurnstile turnstile(FromUtf8(path));
    const auto from = Clock::now();
    EXPECT_FALSE(turnstile.Enter(In(milliseconds(2000)))) << path;
    EXPECT_LT(Clock::now() - from, milliseconds(1000)) << path;
    EXPECT_FALSE(turnstile.Held());
  }
  // A queue file damaged by something else is not used.
  testing::WriteFile(t.root() + "/damaged", std::string(256, '\x55'));
  WriterTurnstile damaged(FromUtf8(t.root() + "/damaged"));
  EXPECT_FALSE(damaged.Enter(In(milliseconds(300))));
}

}  // namespace
}  // namespace qarvex::platform
