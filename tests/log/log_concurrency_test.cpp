#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "log_fixture.h"

namespace qarvex::testing {
namespace {

using LogConcurrency = LogTest;

// Every "W<writer>" line with its number appears exactly once and whole.
void ExpectAllLinesWhole(const std::string& file, size_t headerLines, int writers, int lines) {
  std::istringstream in(file);
  std::string line;
  size_t header = 0;
  std::set<std::string> seen;
  while (std::getline(in, line)) {
    if (header < headerLines) { ++header; continue; }
    ASSERT_FALSE(line.empty());
    ASSERT_EQ(line.back(), '\r') << line;
    const std::string prefix = "2024.03.05 14:07:31.042\tDEBUG\tW";
    ASSERT_EQ(line.rfind(prefix, 0), 0u) << "mixed line: " << line;
    ASSERT_TRUE(seen.insert(line.substr(prefix.size())).second) << "twice: " << line;
  }
  ASSERT_EQ(seen.size(), static_cast<size_t>(writers * lines));
  for (int w = 0; w < writers; ++w)
    for (int n = 0; n < lines; n += lines / 10)
      EXPECT_EQ(seen.count(std::to_string(w) + ": \t" + std::to_string(n) + "\r"), 1u);
}

void WriteLines(int writer, int lines) {
  const WString caption = u"W" + IntToText(writer);
  for (int n = 0; n < lines; ++n) TLog::Append(caption, IntToText(n), TLog::mtDebug);
}

TEST_F(LogConcurrency, ProcessesAppendingToOneFileLoseAndMixNoLine) {
  constexpr int kProcesses = 4, kLines = 2000;
  On();
  TLog::Start();  // the banner before the children inherit the state
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int status = 0;
      try { WriteLines(p, kLines); } catch (...) { status = 1; }
      ::_exit(status);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer failed";
  }
  const std::string file = Day("2024.03.05");
  ASSERT_EQ(file.rfind(Banner(), 0), 0u);
  ExpectAllLinesWhole(file, 6, kProcesses, kLines);
}

TEST_F(LogConcurrency, ThreadsAppendingAtOnceMixNoLine) {
  constexpr int kThreads = 4, kLines = 500;
  On();
  TLog::Start();
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(WriteLines, t, kLines);
  for (auto& t : threads) t.join();
  ExpectAllLinesWhole(Day("2024.03.05"), 6, kThreads, kLines);
}

}  // namespace
}  // namespace qarvex::testing
