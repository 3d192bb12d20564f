// Processes that race: `count` children are forked, each waits on a shared
// pipe until all exist, then runs body(index, startFd) at the same moment
// as the others; body ends the child itself (it never returns). The parent
// expects every child to exit with status 0.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace qarvex::testing {

// body reads one byte from startFd before it starts racing.
template <class Body>
void RaceProcesses(int count, const std::string& who, Body&& body) {
  int startPipe[2];
  ASSERT_EQ(pipe(startPipe), 0);
  std::vector<pid_t> children;
  for (int p = 0; p < count; ++p) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(startPipe[1]);
      body(p, startPipe[0]);
    }
    children.push_back(pid);
  }
  close(startPipe[0]);
  const std::vector<char> go(static_cast<std::size_t>(count));
  ASSERT_EQ(write(startPipe[1], go.data(), go.size()), static_cast<ssize_t>(go.size()));
  close(startPipe[1]);
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a " << who << "'s process failed, status " << status;
  }
}

}  // namespace qarvex::testing
