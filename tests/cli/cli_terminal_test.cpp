// The cashier's question on a terminal: with --dialogs and a terminal on
// standard input the tool shows the component's question and reads the
// answer typed there. A pseudo-terminal stands in for the person.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include "cli/cli_runner.h"

namespace qarvex::clitest {
namespace {

class Pty {
 public:
  Pty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) slave_ = ::ptsname(master_);
  }
  ~Pty() {
    if (master_ >= 0) ::close(master_);
  }
  bool ok() const { return !slave_.empty(); }
  const std::string& slave() const { return slave_; }

  // Reads what the program wrote until `marker` has appeared `times` times
  // (true), or for at most 30 s.
  bool WaitFor(const std::string& marker, int times) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (Count(marker) < times) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      pollfd fd{master_, POLLIN, 0};
      if (::poll(&fd, 1, 100) <= 0) continue;
      char buffer[512];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) return false;
      seen_.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
  }
  // Whatever the program wrote that has not been read yet (after it ended).
  void Drain() {
    for (;;) {
      pollfd fd{master_, POLLIN, 0};
      if (::poll(&fd, 1, 0) <= 0) return;
      char buffer[512];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) return;
      seen_.append(buffer, static_cast<std::size_t>(n));
    }
  }
  void Type(const std::string& text) { ASSERT_EQ(::write(master_, text.data(), text.size()), ssize_t(text.size())); }
  const std::string& seen() const { return seen_; }

 private:
  int Count(const std::string& marker) const {
    int count = 0;
    for (std::size_t at = seen_.find(marker); at != std::string::npos; at = seen_.find(marker, at + 1)) ++count;
    return count;
  }

  int master_ = -1;
  std::string slave_;
  std::string seen_;
};

constexpr char kPrompt[] = "[y/n] ";

TEST_F(CliTest, QuestionAnsweredOnTheTerminal) {
  Pty pty;
  if (!pty.ok()) GTEST_SKIP() << "no pseudo-terminal available here";
  const ToolRun approved = Spawn({"--data", data_.string(), "--dialogs", "pay", "250"}, {}, pty.slave(), [&]() {
    ASSERT_TRUE(pty.WaitFor(kPrompt, 1)) << pty.seen();
    pty.Type("perhaps\n");  // not an answer: asked again
    ASSERT_TRUE(pty.WaitFor(kPrompt, 2)) << pty.seen();
    pty.Type("y\n");
  });
  EXPECT_EQ(approved.status, 0) << pty.seen();
  EXPECT_NE(pty.seen().find("ОПЛАТА: 250 руб."), std::string::npos) << pty.seen();
  EXPECT_NE(pty.seen().find("Одобрить операцию?"), std::string::npos) << pty.seen();
  EXPECT_NE(approved.out.find("Receipt 000001,"), std::string::npos) << approved.out;

  Pty second;
  if (!second.ok()) GTEST_SKIP() << "no second pseudo-terminal available here";
  const ToolRun declined = Spawn({"--data", data_.string(), "--dialogs", "pay", "5"}, {}, second.slave(), [&]() {
    ASSERT_TRUE(second.WaitFor(kPrompt, 1)) << second.seen();
    second.Type("Нет\n");
  });
  EXPECT_EQ(declined.status, 0) << second.seen();
  EXPECT_NE(declined.out.find("ОТКЛОНЕНО"), std::string::npos) << declined.out;
  EXPECT_NE(declined.out.find("Receipt 000000,"), std::string::npos) << declined.out;
  EXPECT_EQ(Tool({"--json", "journal"}).Json()["operations"].size(), 1u);
}

// End of input at the prompt leaves the question unanswered: the host could
// not get an answer, and the component fails the operation.
TEST_F(CliTest, EndOfInputAtThePromptFailsTheOperation) {
  Pty pty;
  if (!pty.ok()) GTEST_SKIP() << "no pseudo-terminal available here";
  const ToolRun run = Spawn({"--data", data_.string(), "--dialogs", "preauth", "70"}, {}, pty.slave(), [&]() {
    ASSERT_TRUE(pty.WaitFor(kPrompt, 1)) << pty.seen();
    pty.Type("\x04");  // Ctrl-D
  });
  pty.Drain();
  EXPECT_EQ(run.status, 1) << pty.seen();
  EXPECT_NE(pty.seen().find("Could not display dialog box"), std::string::npos) << pty.seen();
  EXPECT_TRUE(Tool({"--json", "journal"}).Json()["operations"].empty());
}

}  // namespace
}  // namespace qarvex::clitest
