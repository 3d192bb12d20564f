// The system's windows on Windows.
#include "platform/ui.h"
#include "platform/windows/ui/additional_actions_window.h"
#include "platform/windows/ui/log_window.h"
#include "platform/windows/ui/text_box_window.h"

namespace qarvex::platform {
namespace {

class Win32Windows final : public IWindows {
 public:
  void ShowTextBox(ITextBoxForm& form) override { windows_ui::ShowTextBoxWindow(form); }
  void ShowAdditionalActions(IAdditionalActionsForm& form) override {
    windows_ui::ShowAdditionalActionsWindow(form);
  }
  void ShowLogViewer(ILogForm& form) override { windows_ui::ShowLogWindow(form); }
};

}  // namespace

IWindows& SystemWindows() {
  static Win32Windows windows;
  return windows;
}

}  // namespace qarvex::platform
