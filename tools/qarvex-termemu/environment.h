// Where the run finds the component library and where the component keeps
// its data. The component has no setting for its folder, so --data points
// the system's rule for it there before the library is loaded.
#pragma once

#include <string>

namespace qarvex::cli {

// The library to load when --library is not given: the component's file
// beside this program (where the build puts both, and where an installation
// keeps them). Raises HostFailure when there is none.
std::string DefaultLibraryPath();

// Points the component's data folders at `folder` (made absolute). Raises
// UsageError for a folder that cannot be named.
void UseDataFolder(const std::string& folder);

}  // namespace qarvex::cli
