// What the tool's tests do differently on each system, one implementation
// per system (tool_process_posix.cpp, tool_process_windows.cpp): starting
// the program as a separate process with its own environment and standard
// streams, waiting for it bounded (a run that hangs is killed and reported,
// never left to stall the suite), and where a run keeps its data.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace qarvex::clitest {

struct ProcessRequest {
  std::vector<std::string> argv;                  // the program first
  std::map<std::string, std::string> environment;  // the whole environment
  std::filesystem::path out;                      // standard output goes here
  std::filesystem::path err;                      // standard error, unless `terminal` is given
  // A pseudo-terminal's path for standard input and error (POSIX systems
  // only); empty: standard input is the null device.
  std::string terminal;
  std::function<void()> whileRunning;  // called once the process runs
};

// The process's exit status; -1, with a test failure added, when it could
// not be started, ended by a signal or was killed for taking too long.
int RunProcess(const ProcessRequest& request);

// This process's environment.
std::map<std::string, std::string> CurrentEnvironment();

// The options that make a run keep its data under `fixtureFolder` (empty
// where the tool cannot move the component's folder), and the folder that
// then holds the component's qarvex_termemu folder.
std::vector<std::string> DataOptions(const std::filesystem::path& fixtureFolder);
std::filesystem::path DataRoot(const std::filesystem::path& fixtureFolder);

}  // namespace qarvex::clitest
