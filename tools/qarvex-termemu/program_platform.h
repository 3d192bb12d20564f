// What the tool needs from the operating system, one implementation per
// system (linux/, windows/), so the rest of the tool is the same everywhere.
// Loading the library is the replacement host's.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qarvex::cli {

// The command line's arguments after the program's name, as UTF-8 whatever
// the system's own encoding of them.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Makes standard output and error carry UTF-8 bytes exactly as written
// (no line-ending translation), to a pipe, a file or a console.
void PrepareStandardStreams();

// Writes UTF-8 text on `stream` so that it reads correctly where it ends
// up: a console shows the characters, a pipe or a file gets the bytes.
void WriteText(std::FILE* stream, std::string_view utf8);

// The folder this program's file is in; empty when the system cannot tell.
std::filesystem::path ProgramFolder();

// The component library's file names this program looks for beside itself,
// in order: the name the downloads give it, then the build's.
std::vector<std::string> ComponentFileNames();

// Points the component's data folders at `folder`, an absolute path, for
// this process and the library it loads. Raises UsageError for a folder the
// system's rule cannot name, or where the system has no way to move them.
void PointDataFoldersAt(const std::string& folder);

// Whether standard input is a terminal a person can answer questions on.
bool StandardInputIsTerminal();

// Help texts that name things of this system: the default library, the
// component's own data folder, and the examples' --data option (empty
// where --data is not available).
extern const std::string_view kLibraryOptionHelp;
extern const std::string_view kDataOptionHelp;
extern const std::string_view kExampleDataOption;

}  // namespace qarvex::cli
