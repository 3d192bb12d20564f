// Runs the built qarvex-termemu as a user runs it: a separate process with
// its own arguments, standard input from the null device (so never a
// terminal) unless a pseudo-terminal is given, standard output and error
// captured, the "C" locale (dates dd/mm/yy, amounts with a point), and a
// bounded wait (tool_process.h).
//
// Each fixture owns a fresh temporary folder for --data and the captures.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/tool_process.h"

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
    root_ = fs::absolute(pattern);  // as the program names its own folder
    data_ = root_ / "data";
    std::error_code ignored;
    fs::remove_all(DataRoot(data_) / "qarvex_termemu", ignored);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  // The component's folder of the fixture's runs.
  fs::path ComponentFolder() const { return DataRoot(data_) / "qarvex_termemu"; }
  fs::path JournalFile() const { return ComponentFolder() / "OperJournal" / "journal.db3"; }

  // The tool with `args`, keeping its data in the fixture's folder where
  // the system lets it (DataOptions).
  ToolRun Tool(std::vector<std::string> args) {
    const std::vector<std::string> data = DataOptions(data_);
    args.insert(args.begin(), data.begin(), data.end());
    return Spawn(args, {});
  }

  // The tool exactly as given; `environment` overrides variables ("" removes).
  // `terminal` (a pseudo-terminal's slave path) becomes standard input and
  // standard error when given.
  ToolRun Spawn(const std::vector<std::string>& args, const std::map<std::string, std::string>& environment,
                const std::string& terminal = {}, std::function<void()> whileRunning = {}) {
    ProcessRequest request;
    request.argv.push_back(program_);
    request.argv.insert(request.argv.end(), args.begin(), args.end());
    request.environment = CurrentEnvironment();
    request.environment["LC_ALL"] = "C";
    for (const auto& [name, value] : environment) {
      if (value.empty())
        request.environment.erase(name);
      else
        request.environment[name] = value;
    }
    request.out = root_ / ("out-" + std::to_string(++runs_));
    request.err = root_ / ("err-" + std::to_string(runs_));
    request.terminal = terminal;
    request.whileRunning = std::move(whileRunning);
    ToolRun run;
    run.status = RunProcess(request);
    run.out = ReadFile(request.out);
    run.err = ReadFile(request.err);
    return run;
  }

  fs::path root_;
  fs::path data_;
  std::string program_ = QARVEX_CLI_PATH;  // the program Spawn starts

 private:
  int runs_ = 0;
};

}  // namespace qarvex::clitest
