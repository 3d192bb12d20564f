// The help texts: the overview (--help) and each command's own help, built
// from the command and option table.
#pragma once

#include <string>

#include "tools/qarvex-termemu/command_table.h"

namespace qarvex::cli {

// The overview when `command` is null, else the command's help.
std::string HelpText(const CommandInfo* command);

}  // namespace qarvex::cli
