#include "host/library_state.h"

#include "log/Common.Log.h"
#include "platform/replaceable_services.h"

namespace qarvex::host {

TLibraryState::TLibraryState() {
  // Statics are destroyed in the reverse order of their construction: what
  // is built here, inside this constructor, is still there when the
  // destructor writes the stop line.
  platform::BuildReplaceableServices();
  TLog::Load();
}

TLibraryState::~TLibraryState() { TLog::Unload(); }

TLibraryState& Library() {
  static TLibraryState state;
  return state;
}

}  // namespace qarvex::host
