// What the library keeps from load to unload, in one object owned by the
// library's lifetime: the class registry, the extension name and the driver
// description given at registration. Its constructor is the start-up and its
// destructor the unload, so the order of both is written here and nowhere
// else.
//
// Lifetime: built on first use, which is the main module's registration
// while the host loads the library; destroyed with the library's static
// objects when it is unloaded. Threading: written only at load and unload,
// read-only while components exist; it takes no lock.
#pragma once

#include "common/text.h"
#include "host/driver_description.h"
#include "host/registry.h"

namespace qarvex::host {

class TLibraryState {
 public:
  // Start-up: the members below, empty, in the order they are listed (C++
  // builds members before the constructor's body runs); then the body
  // builds the state of the layers below that the unload still uses (the
  // clock and regional settings, the log: lock, name, logging off). That
  // state is complete before this object is, so it is destroyed after it.
  TLibraryState();
  // Unload: the log's stop line when due (an unload cannot fail, so a line
  // that cannot be written is dropped), the log's name cleared; then the
  // members in reverse order: the description, the extension name, and the
  // registry with everything it owns.
  ~TLibraryState();
  TLibraryState(const TLibraryState&) = delete;
  TLibraryState& operator=(const TLibraryState&) = delete;

  TClassRegList Registry;
  WString ExtensionName;
  TDriverInfo DriverDescription;
};

// The library's one state.
TLibraryState& Library();

}  // namespace qarvex::host
