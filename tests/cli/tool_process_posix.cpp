#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "cli/tool_process.h"

extern char** environ;

namespace qarvex::clitest {
namespace {

int Wait(pid_t pid) {
  using namespace std::chrono;
  const auto deadline = steady_clock::now() + seconds(60);
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      if (WIFEXITED(status)) return WEXITSTATUS(status);
      ADD_FAILURE() << "qarvex-termemu ended by signal " << WTERMSIG(status);
      return -1;
    }
    if (steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      ADD_FAILURE() << "qarvex-termemu did not finish within 60 s";
      return -1;
    }
    std::this_thread::sleep_for(milliseconds(10));
  }
}

}  // namespace

std::map<std::string, std::string> CurrentEnvironment() {
  std::map<std::string, std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const auto eq = entry.find('=');
    if (eq != std::string::npos) env[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  return env;
}

std::vector<std::string> DataOptions(const std::filesystem::path& fixtureFolder) {
  return {"--data", fixtureFolder.string()};
}

std::filesystem::path DataRoot(const std::filesystem::path& fixtureFolder) { return fixtureFolder; }

int RunProcess(const ProcessRequest& request) {
  std::vector<std::string> argv = request.argv;
  std::vector<std::string> envStrings;
  for (const auto& [name, value] : request.environment) envStrings.push_back(name + "=" + value);
  std::vector<char*> argp, envp;
  for (auto& a : argv) argp.push_back(a.data());
  argp.push_back(nullptr);
  for (auto& e : envStrings) envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string input = request.terminal.empty() ? "/dev/null" : request.terminal;
  posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDWR, 0);
  posix_spawn_file_actions_addopen(&actions, 1, request.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (request.terminal.empty())
    posix_spawn_file_actions_addopen(&actions, 2, request.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  else
    posix_spawn_file_actions_adddup2(&actions, 0, 2);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << argp[0] << ": " << std::strerror(spawned);
    return -1;
  }
  if (request.whileRunning) request.whileRunning();
  return Wait(pid);
}

}  // namespace qarvex::clitest
