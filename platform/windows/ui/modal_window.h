// The machinery the component's windows share: a top-level window without
// owner, sized in design pixels scaled to the screen's resolution, centred
// on the screen, shown modally (the thread's other windows disabled while
// it is shown) and destroyed when closed. Handlers of the window's forms run
// through RunEventHandler, so no exception ever leaves the window procedure.
//
// Threading: one thread, the host's user-interface thread. Ownership: a
// window object lives on the stack of the Show call that runs it; it owns
// its font and icon.
#pragma once

#include <windows.h>

#include "common/text.h"
#include "platform/ui.h"

namespace qarvex::platform::windows_ui {

struct WindowLayout {
  int designDpi = 96;  // resolution the sizes below were designed at
  int clientWidth = 0;
  int clientHeight = 0;
  bool sizeable = false;  // false: dialog border, no icon, no minimise/maximise
  int fontHeight = 11;    // Tahoma, character height in design pixels
  HICON icon = nullptr;   // taken over by the window; null for none
};

class ModalWindow {
 public:
  ModalWindow(const ModalWindow&) = delete;
  ModalWindow& operator=(const ModalWindow&) = delete;

  // Creates the window and its controls, shows it and returns once it has
  // been closed and destroyed. Raises Failure when it cannot be created.
  void RunModal(WStringView caption, const WindowLayout& layout);

  // The framework's error message box, this window as parent.
  void ShowErrorBox(WStringView message);

 protected:
  ModalWindow() = default;
  ~ModalWindow();

  // After the window exists, before it is shown: create the controls.
  virtual void CreateControls() = 0;
  // Once the controls exist, still hidden (a form's creation handler).
  virtual void AfterCreate() {}
  virtual void OnCommand(int id, int code) = 0;
  // New client size in device pixels.
  virtual void OnSize(int width, int height) = 0;
  virtual void OnTimer() {}
  // Other messages; return true with `result` set when handled.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // For OnMessage: a read-only text box `control` keeps the window colour
  // of an editable one. True, with `result` set, when the message was its
  // colour request.
  static bool KeepEditableColours(UINT message, WPARAM wParam, LPARAM lParam, HWND control, LRESULT& result);

  // Design pixels to device pixels.
  int Scale(int designPixels) const { return ::MulDiv(designPixels, dpi_, layout_.designDpi); }
  HWND AddControl(const wchar_t* windowClass, WStringView text, DWORD style, DWORD exStyle, int id);
  HWND Handle() const { return hwnd_; }
  HWND Control(int id) const { return ::GetDlgItem(hwnd_, id); }
  HFONT Font() const { return font_; }
  // Runs a form's handler, errors shown through `view`; re-entrance (a
  // timer tick while a message box is shown) is refused.
  template <class Handler>
  void RunHandler(IWindowView& view, Handler&& handler) {
    if (inHandler_) return;
    inHandler_ = true;
    RunEventHandler(view, handler);
    inHandler_ = false;
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void Centre();

  HWND hwnd_ = nullptr;
  WindowLayout layout_;
  WString caption_;
  int dpi_ = 96;
  HFONT font_ = nullptr;
  bool closed_ = false;
  bool inHandler_ = false;
};

// A font of the given face and character height in device pixels.
HFONT CreateFontOf(const wchar_t* face, int characterHeight, BYTE charset);
// Courier New at a character height: where the face is missing (wine, a
// trimmed system), another fixed-pitch face, so that slip columns still line up.
HFONT CreateCourierNew(int characterHeight);

// Window text as UTF-16.
WString TextOf(HWND window);

}  // namespace qarvex::platform::windows_ui
