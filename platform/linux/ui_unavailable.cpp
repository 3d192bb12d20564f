// There is no window framework on Linux: every window is refused with a
// message saying so, which reaches the host as the action's failure.
#include "common/error.h"
#include "platform/ui.h"

namespace qarvex::platform {
namespace {

class UnavailableWindows final : public IWindows {
 public:
  void ShowTextBox(ITextBoxForm&) override {
    throw Failure("The text window is not available on this platform");
  }
  void ShowAdditionalActions(IAdditionalActionsForm&) override {
    throw Failure("The additional operations panel window is not available on this platform");
  }
  void ShowLogViewer(ILogForm&) override {
    throw Failure("The log viewer window is not available on this platform");
  }
};

}  // namespace

IWindows& SystemWindows() {
  static UnavailableWindows windows;
  return windows;
}

}  // namespace qarvex::platform
