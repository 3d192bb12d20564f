// What the library keeps from load to unload, in one object owned by the
// library's lifetime: the class registry and the extension name given at
// registration. Its constructor is the start-up and its destructor the
// unload, so the order of both is written here and nowhere else.
//
// Lifetime: built on first use, which is the main module's registration
// while the host loads the library; destroyed with the library's static
// objects when it is unloaded. Threading: written only at load and unload,
// read-only while components exist; it takes no lock.
#pragma once

#include "common/text.h"
#include "host/registry.h"

namespace qarvex::host {

class TLibraryState {
 public:
  // Start-up: first the state of the layers below that the unload still
  // uses (the clock and regional settings, the log: lock, name, logging
  // off); built before this object, it is destroyed after it. Then the empty
  // registry.
  TLibraryState();
  // Unload: the log's stop line when due (an unload cannot fail, so a line
  // that cannot be written is dropped), the log's name cleared; then the
  // extension name and the registry with everything it owns.
  ~TLibraryState();
  TLibraryState(const TLibraryState&) = delete;
  TLibraryState& operator=(const TLibraryState&) = delete;

  TClassRegList Registry;
  WString ExtensionName;
};

// The library's one state.
TLibraryState& Library();

}  // namespace qarvex::host
