// Runs the built qarvex-termemu as a user runs it: a separate process with
// its own arguments, standard input from /dev/null (so never a terminal)
// unless a pseudo-terminal is given, standard output and error captured,
// the "C" locale (dates dd/mm/yy, amounts with a point), and a bounded wait:
// a run that hangs is killed and reported, never left to stall the suite.
//
// Each fixture owns a fresh temporary folder for --data and the captures.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace qarvex::clitest {

namespace fs = std::filesystem;

struct ToolRun {
  int status = -1;  // exit status; -1 when killed or not started
  std::string out;
  std::string err;

  nlohmann::json Json() const {
    try {
      return nlohmann::json::parse(out);
    } catch (const std::exception& e) {
      ADD_FAILURE() << "not one JSON object (" << e.what() << "):\n" << out << "\nstderr:\n" << err;
      return {};
    }
  }
};

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qarvex-cli-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    data_ = root_ / "data";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  fs::path JournalFile() const { return data_ / "qarvex_termemu" / "OperJournal" / "journal.db3"; }

  // The tool with `args` and --data pointing into the fixture's folder.
  ToolRun Tool(std::vector<std::string> args) {
    args.insert(args.begin(), {"--data", data_.string()});
    return Spawn(args, {});
  }

  // The tool exactly as given; `environment` overrides variables ("" removes).
  // `terminal` (a pseudo-terminal's slave path) becomes standard input and
  // standard error when given.
  ToolRun Spawn(const std::vector<std::string>& args, const std::map<std::string, std::string>& environment,
                const std::string& terminal = {}, std::function<void(pid_t)> whileRunning = {}) {
    std::vector<std::string> argv{program_};
    argv.insert(argv.end(), args.begin(), args.end());
    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      const auto eq = entry.find('=');
      if (eq != std::string::npos) env[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    env["LC_ALL"] = "C";
    for (const auto& [name, value] : environment) {
      if (value.empty())
        env.erase(name);
      else
        env[name] = value;
    }
    std::vector<std::string> envStrings;
    for (const auto& [name, value] : env) envStrings.push_back(name + "=" + value);
    std::vector<char*> argp, envp;
    for (auto& a : argv) argp.push_back(a.data());
    argp.push_back(nullptr);
    for (auto& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);

    const fs::path outFile = root_ / ("out-" + std::to_string(++runs_));
    const fs::path errFile = root_ / ("err-" + std::to_string(runs_));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string input = terminal.empty() ? "/dev/null" : terminal;
    posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDWR, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (terminal.empty())
      posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    else
      posix_spawn_file_actions_adddup2(&actions, 0, 2);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ToolRun run;
    if (spawned != 0) {
      ADD_FAILURE() << "cannot start " << argp[0] << ": " << std::strerror(spawned);
      return run;
    }
    if (whileRunning) whileRunning(pid);
    run.status = Wait(pid);
    run.out = ReadFile(outFile);
    run.err = ReadFile(errFile);
    return run;
  }

  fs::path root_;
  fs::path data_;
  std::string program_ = QARVEX_CLI_PATH;  // the program Spawn starts

 private:
  static int Wait(pid_t pid) {
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

  int runs_ = 0;
};

}  // namespace qarvex::clitest
