// Where the run finds the component library and where the component keeps
// its data. The component has no settings for its folder: on Linux it takes
// the first entry of XDG_DATA_DIRS (and XDG_DATA_HOME when that one cannot
// be used), so --data points both there before the library is loaded.
#pragma once

#include <string>

namespace qarvex::cli {

// The library to load when --library is not given: qarvex_termemu.so beside
// this program (as installed), else the one it was built with.
std::string DefaultLibraryPath();

// Points the component's data folders at `folder` (made absolute), for this
// process and the library it loads. Raises UsageError for a folder that
// cannot be named, e.g. one with a ':' the variable would split on.
void UseDataFolder(const std::string& folder);

}  // namespace qarvex::cli
