#include "platform/windows/ui/additional_actions_window.h"

#include "platform/windows/ui/modal_window.h"

namespace qarvex::platform::windows_ui {
namespace {

enum ControlId { kRecCopy = 101, kReport = 102, kRecNum = 103 };

class AdditionalActionsWindow final : public ModalWindow, public IAdditionalActionsView {
 public:
  explicit AdditionalActionsWindow(IAdditionalActionsForm& form) : form_(form) {}

  void Run() {
    WindowLayout layout;
    layout.designDpi = 120;
    layout.clientWidth = 338;
    layout.clientHeight = 115;
    layout.sizeable = false;
    layout.fontHeight = 13;
    RunModal(form_.Caption(), layout);
  }

  void ShowError(WStringView message) override { ShowErrorBox(message); }
  WString ReceiptNumberText() override { return TextOf(Control(kRecNum)); }

 private:
  void CreateControls() override {
    // Created in tab order: copy button, report button, number box.
    Place(AddControl(L"BUTTON", form_.RecCopyButtonCaption(), WS_TABSTOP | BS_PUSHBUTTON, 0, kRecCopy),
          31, 22, 228, 25);
    Place(AddControl(L"BUTTON", form_.ReportButtonCaption(), WS_TABSTOP | BS_PUSHBUTTON, 0, kReport), 31,
          61, 276, 25);
    Place(AddControl(L"EDIT", form_.InitialReceiptNumber(), WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kRecNum),
          265, 22, 42, 25);
  }

  void AfterCreate() override { ::SetFocus(Control(kRecCopy)); }

  void Place(HWND control, int x, int y, int width, int height) {
    ::MoveWindow(control, Scale(x), Scale(y), Scale(width), Scale(height), FALSE);
  }

  void OnSize(int, int) override {}  // fixed size

  void OnCommand(int id, int code) override {
    if (code != BN_CLICKED) return;
    if (id == kRecCopy) RunHandler(*this, [&] { form_.btnRecCopyClick(*this); });
    if (id == kReport) RunHandler(*this, [&] { form_.btnReportClick(*this); });
  }

  IAdditionalActionsForm& form_;
};

}  // namespace

void ShowAdditionalActionsWindow(IAdditionalActionsForm& form) {
  AdditionalActionsWindow window(form);
  window.Run();
}

}  // namespace qarvex::platform::windows_ui
