#include "platform/windows/ui/log_window.h"

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include "platform/windows/ui/modal_window.h"
#include "platform/windows/ui/pictures.h"
#include "platform/windows/win_system.h"

namespace qarvex::platform::windows_ui {
namespace {

// Sizes at 120 pixels per inch.
constexpr int kBandHeight = 32;
constexpr int kListLeft = 11, kListTop = 2, kListWidth = 257, kListHeight = 24, kDropDownHeight = 240;
constexpr int kButtonGap = 3, kButtonWidth = 23, kButtonHeight = 24;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerInterval = 1000;
constexpr UINT kScrollCaret = 0xB7;  // EM_SCROLLCARET

enum ControlId { kFiles = 101, kOpenDir = 102, kLog = 103 };

using windows_impl::Wide;

class LogWindow final : public ModalWindow, public ILogView {
 public:
  explicit LogWindow(ILogForm& form) : form_(form) {}
  ~LogWindow() {
    if (folderIcon_ != nullptr) ::DestroyIcon(folderIcon_);
  }

  void Run() {
    WindowLayout layout;
    layout.designDpi = 120;
    layout.clientWidth = 633;
    layout.clientHeight = 293;
    layout.sizeable = true;
    layout.fontHeight = 13;
    layout.icon = SheetOfPaperIcon();
    RunModal(form_.Caption(), layout);
  }

  // --- ILogView
  void ShowError(WStringView message) override { ShowErrorBox(message); }
  void SetFileNames(const std::vector<WString>& names) override {
    HWND list = Control(kFiles);
    ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const WString& name : names)
      ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
  void SelectFile(std::size_t index) override {
    ::SendMessageW(Control(kFiles), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  std::size_t FileCount() override {
    const LRESULT count = ::SendMessageW(Control(kFiles), CB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<std::size_t>(count) : 0;
  }
  WString ShownFileName() override { return TextOf(Control(kFiles)); }
  void SetLogText(WStringView text) override {
    HWND log = Control(kLog);
    ::SendMessageW(log, WM_SETREDRAW, FALSE, 0);
    ::SetWindowTextW(log, Wide(text).c_str());
    ::SendMessageW(log, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(log, nullptr, TRUE);
  }
  std::size_t CaretOffset() override {
    DWORD start = 0;
    ::SendMessageW(Control(kLog), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return start;
  }
  void RestoreCaret(std::size_t offset) override {
    HWND log = Control(kLog);
    ::SendMessageW(log, EM_SETSEL, static_cast<WPARAM>(offset), static_cast<LPARAM>(offset));
    ::SendMessageW(log, kScrollCaret, 0, 0);
    ::SetFocus(log);
  }
  void ExploreFolder(WStringView folder) override {
    ::ShellExecuteW(Handle(), L"explore", Wide(folder).c_str(), L"", L"", SW_SHOWNORMAL);
  }

 private:
  void CreateControls() override {
    AddControl(L"COMBOBOX", {}, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, kFiles);
    HWND button = AddControl(L"BUTTON", {}, WS_TABSTOP | BS_PUSHBUTTON | BS_ICON | BS_FLAT, 0, kOpenDir);
    folderIcon_ = FolderWithArrowIcon();
    ::SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(folderIcon_));
    HWND log = AddControl(L"EDIT", {}, WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                                           ES_AUTOVSCROLL | ES_NOHIDESEL,
                          WS_EX_CLIENTEDGE, kLog);
    ::SendMessageW(log, EM_SETLIMITTEXT, 0, 0);
    ::MoveWindow(Control(kFiles), Scale(kListLeft), Scale(kListTop), Scale(kListWidth),
                 Scale(kListHeight + kDropDownHeight), FALSE);
    ::MoveWindow(button, Scale(kListLeft + kListWidth + kButtonGap), Scale(kListTop), Scale(kButtonWidth),
                 Scale(kButtonHeight), FALSE);
  }

  void AfterCreate() override {
    RunHandler(*this, [&] { form_.FormCreate(*this); });
    ::SetTimer(Handle(), kTimerId, kTimerInterval, nullptr);
  }

  void OnSize(int width, int height) override {
    const int band = Scale(kBandHeight);
    ::MoveWindow(Control(kLog), 0, band, width, height > band ? height - band : 0, TRUE);
  }

  void OnCommand(int id, int code) override {
    if (id == kFiles && code == CBN_DROPDOWN) RunHandler(*this, [&] { form_.cbbLogFilesDropDown(*this); });
    if (id == kFiles && code == CBN_SELCHANGE) RunHandler(*this, [&] { form_.cbbLogFilesChange(*this); });
    if (id == kOpenDir && code == BN_CLICKED) RunHandler(*this, [&] { form_.btnOpenDirClick(*this); });
  }

  void OnTimer() override { RunHandler(*this, [&] { form_.tmrCheckFileTimer(*this); }); }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return KeepEditableColours(message, wParam, lParam, Control(kLog), result);
  }

  ILogForm& form_;
  HICON folderIcon_ = nullptr;
};

}  // namespace

void ShowLogWindow(ILogForm& form) {
  LogWindow window(form);
  window.Run();
}

}  // namespace qarvex::platform::windows_ui
