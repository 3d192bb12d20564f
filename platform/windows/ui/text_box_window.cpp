#include "platform/windows/ui/text_box_window.h"

#include "platform/windows/ui/modal_window.h"
#include "platform/windows/ui/pictures.h"
#include "platform/windows/ui/print_job.h"
#include "platform/windows/win_system.h"

namespace qarvex::platform::windows_ui {
namespace {

// Sizes at 96 pixels per inch.
constexpr int kClientWidth = 408, kClientHeight = 308;
constexpr int kPanelHeight = 52;
constexpr int kButtonRight = 408 - 288, kButtonTop = 8, kButtonWidth = 107, kButtonHeight = 33;
constexpr int kTextHeight = 11;

enum ControlId { kText = 101, kPanelLine = 102, kPrint = 103 };

class TextBoxWindow final : public ModalWindow, public ITextBoxView {
 public:
  explicit TextBoxWindow(ITextBoxForm& form) : form_(form) {}
  ~TextBoxWindow() {
    if (textFont_ != nullptr) ::DeleteObject(textFont_);
    if (buttonIcon_ != nullptr) ::DestroyIcon(buttonIcon_);
  }

  void Run() {
    WindowLayout layout;
    layout.designDpi = 96;
    layout.clientWidth = kClientWidth;
    layout.clientHeight = kClientHeight;
    layout.sizeable = true;
    layout.fontHeight = 11;
    layout.icon = PrinterIcon();
    RunModal(form_.Caption(), layout);
  }

  void ShowError(WStringView message) override { ShowErrorBox(message); }

  std::vector<WString> DisplayedLines() override {
    HWND text = Control(kText);
    const WString all = TextOf(text);
    const LRESULT count = ::SendMessageW(text, EM_GETLINECOUNT, 0, 0);
    std::vector<WString> lines;
    for (LRESULT i = 0; i < count; ++i) {
      const LRESULT start = ::SendMessageW(text, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
      if (start < 0 || static_cast<std::size_t>(start) > all.size()) break;
      const LRESULT length = ::SendMessageW(text, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
      lines.push_back(all.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
    }
    return lines;
  }

  std::unique_ptr<IPrintJob> ChoosePrinterAndStartJob() override {
    return windows_ui::ChoosePrinterAndStartJob(Handle(), form_.Caption());
  }

 private:
  void CreateControls() override {
    // The text box first: first in the tab order, focused when shown.
    HWND text = AddControl(L"EDIT", {},
                           WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                           WS_EX_CLIENTEDGE, kText);
    textFont_ = CreateCourierNew(Scale(kTextHeight));
    ::SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_), FALSE);
    ::SendMessageW(text, EM_SETLIMITTEXT, 0, 0);
    ::SetWindowTextW(text, windows_impl::Wide(form_.Text()).c_str());
    AddControl(L"STATIC", {}, SS_ETCHEDHORZ, 0, kPanelLine);
    HWND print = AddControl(L"BUTTON", form_.PrintButtonCaption(), WS_TABSTOP | BS_DEFPUSHBUTTON, 0, kPrint);
    buttonIcon_ = PrinterIcon();
    ::SendMessageW(print, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(buttonIcon_));
  }

  void AfterCreate() override { ::SetFocus(Control(kText)); }

  void OnSize(int width, int height) override {
    const int panel = Scale(kPanelHeight);
    const int top = height > panel ? height - panel : 0;
    ::MoveWindow(Control(kText), 0, 0, width, top, TRUE);
    ::MoveWindow(Control(kPanelLine), 0, top, width, 2, TRUE);
    ::MoveWindow(Control(kPrint), width - Scale(kButtonRight), top + Scale(kButtonTop), Scale(kButtonWidth),
                 Scale(kButtonHeight), TRUE);
  }

  void OnCommand(int id, int code) override {
    if (id == kPrint && code == BN_CLICKED) RunHandler(*this, [&] { form_.btnPrintClick(*this); });
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == DM_GETDEFID) {
      result = MAKELRESULT(kPrint, DC_HASDEFID);
      return true;
    }
    return KeepEditableColours(message, wParam, lParam, Control(kText), result);
  }

  ITextBoxForm& form_;
  HFONT textFont_ = nullptr;
  HICON buttonIcon_ = nullptr;
};

}  // namespace

void ShowTextBoxWindow(ITextBoxForm& form) {
  TextBoxWindow window(form);
  window.Run();
}

}  // namespace qarvex::platform::windows_ui
