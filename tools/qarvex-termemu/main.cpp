// qarvex-termemu: the emulated acquiring terminal from the command line, for
// people and for scripts. The component library is loaded the way the 1C
// platform loads it and driven through its Native API only (the replacement
// host of tools/host); see `qarvex-termemu --help`.
//
// This is the one place where failures become exit statuses: the command's
// own outcome (0 True, 1 False), or 2 for a usage error, a host-level failure
// or anything unforeseen. Nothing is printed on standard output for those.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/qarvex-termemu/command_line.h"
#include "tools/qarvex-termemu/commands.h"
#include "tools/qarvex-termemu/environment.h"
#include "tools/qarvex-termemu/help.h"
#include "tools/qarvex-termemu/output_json.h"
#include "tools/qarvex-termemu/program_platform.h"

using namespace qarvex::cli;

int main(int argc, char** argv) {
  PrepareStandardStreams();
  try {
    std::vector<std::string> arguments = Utf8Arguments(argc, argv);
    std::vector<char*> pointers{argc > 0 ? argv[0] : nullptr};
    for (std::string& argument : arguments) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    const Invocation call = ParseCommandLine(static_cast<int>(arguments.size() + 1), pointers.data());
    if (call.help) {
      WriteText(stdout, HelpText(call.helpTopic));
      return kExitTrue;
    }
    if (!call.dataFolder.empty()) UseDataFolder(call.dataFolder);
    const Outcome outcome = RunCommand(call);
    WriteText(stdout, call.json ? JsonLine(outcome.json) : outcome.text);
    std::fflush(stdout);
    WriteText(stderr, outcome.error);
    return outcome.status;
  } catch (const UsageError& e) {
    WriteText(stderr, "qarvex-termemu: " + std::string(e.what()) + "\n");
  } catch (const HostFailure& e) {
    WriteText(stderr, "qarvex-termemu: " + std::string(e.what()) + "\n");
  } catch (const std::exception& e) {
    WriteText(stderr, "qarvex-termemu: unexpected failure: " + std::string(e.what()) + "\n");
  }
  return kExitFailure;
}
