// The system's windows on Linux: GTK 3, loaded when the first window opens.
// Where GTK cannot show windows (no GTK 3, no display, GTK 2 in the
// process), a window is refused with a message naming what is missing,
// which reaches the host as the action's failure.
#include <string>

#include "common/error.h"
#include "platform/linux/gtk/windows.h"
#include "platform/ui.h"

namespace qarvex::platform {
namespace {

// Runs a window, its refusal prefixed with which window it was.
template <class Show>
void Refusable(const char* window, Show&& show) {
  try {
    show();
  } catch (const Failure& e) {
    throw Failure(std::string(window) + " cannot be shown: " + e.what());
  }
}

class GtkWindows final : public IWindows {
 public:
  void ShowTextBox(ITextBoxForm& form) override {
    Refusable("The text window", [&] { gtk_ui::ShowTextBoxWindow(form); });
  }
  void ShowAdditionalActions(IAdditionalActionsForm& form) override {
    Refusable("The additional operations panel window", [&] { gtk_ui::ShowAdditionalActionsWindow(form); });
  }
  void ShowLogViewer(ILogForm& form) override {
    Refusable("The log viewer window", [&] { gtk_ui::ShowLogWindow(form); });
  }
};

}  // namespace

IWindows& SystemWindows() {
  static GtkWindows windows;
  return windows;
}

}  // namespace qarvex::platform
