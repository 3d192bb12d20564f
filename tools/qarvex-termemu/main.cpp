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

#include "tools/qarvex-termemu/command_line.h"
#include "tools/qarvex-termemu/commands.h"
#include "tools/qarvex-termemu/environment.h"
#include "tools/qarvex-termemu/help.h"
#include "tools/qarvex-termemu/output_json.h"

using namespace qarvex::cli;

int main(int argc, char** argv) {
  try {
    const Invocation call = ParseCommandLine(argc, argv);
    if (call.help) {
      std::fputs(HelpText(call.helpTopic).c_str(), stdout);
      return kExitTrue;
    }
    if (!call.dataFolder.empty()) UseDataFolder(call.dataFolder);
    const Outcome outcome = RunCommand(call);
    const std::string out = call.json ? JsonLine(outcome.json) : outcome.text;
    std::fputs(out.c_str(), stdout);
    std::fflush(stdout);
    std::fputs(outcome.error.c_str(), stderr);
    return outcome.status;
  } catch (const UsageError& e) {
    std::fprintf(stderr, "qarvex-termemu: %s\n", e.what());
  } catch (const HostFailure& e) {
    std::fprintf(stderr, "qarvex-termemu: %s\n", e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qarvex-termemu: unexpected failure: %s\n", e.what());
  }
  return kExitFailure;
}
