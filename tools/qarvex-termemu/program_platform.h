// What the tool needs from the operating system, one implementation per
// system (linux/program_platform_linux.cpp), so the rest of the tool is the
// same everywhere. Loading the library is the replacement host's.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qarvex::cli {

// The folder this program's file is in; empty when the system cannot tell.
std::filesystem::path ProgramFolder();

// The component library's file name on this system.
std::string_view ComponentFileName();

// Points the component's data folders at `folder`, an absolute path, for
// this process and the library it loads. Raises UsageError for a folder the
// system's rule cannot name.
void PointDataFoldersAt(const std::string& folder);

// Whether standard input is a terminal a person can answer questions on.
bool StandardInputIsTerminal();

}  // namespace qarvex::cli
