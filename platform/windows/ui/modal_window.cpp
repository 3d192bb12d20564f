#include "platform/windows/ui/modal_window.h"

#include <vector>

#include "common/error.h"
#include "platform/windows/win_system.h"

namespace qarvex::platform::windows_ui {
namespace {

using windows_impl::OwnModule;
using windows_impl::Wide;

constexpr wchar_t kClassName[] = L"QarvexTermemuWindow";

// The window class is registered while at least one window is shown and
// unregistered after the last one, so that a library unloaded and loaded
// again never finds a class pointing into its old image.
int classUsers = 0;

void AcquireClass(WNDPROC procedure) {
  if (classUsers++ > 0) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = procedure;
  wc.hInstance = OwnModule();
  wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  if (::RegisterClassExW(&wc) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    const DWORD error = ::GetLastError();
    --classUsers;
    windows_impl::ThrowSystemError("Cannot register the window class", error);
  }
}

void ReleaseClass() {
  if (--classUsers == 0) ::UnregisterClassW(kClassName, OwnModule());
}

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// The thread's enabled, visible top-level windows, disabled while a modal
// window is shown (as the system's own modal dialogs do with their owner).
class DisabledThreadWindows {
 public:
  DisabledThreadWindows() {
    ::EnumThreadWindows(::GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
    for (HWND w : windows_) ::EnableWindow(w, FALSE);
  }
  ~DisabledThreadWindows() {
    for (HWND w : windows_)
      if (::IsWindow(w)) ::EnableWindow(w, TRUE);
  }
  DisabledThreadWindows(const DisabledThreadWindows&) = delete;
  DisabledThreadWindows& operator=(const DisabledThreadWindows&) = delete;

 private:
  static BOOL CALLBACK Collect(HWND w, LPARAM self) {
    if (::IsWindowVisible(w) && ::IsWindowEnabled(w)) reinterpret_cast<DisabledThreadWindows*>(self)->windows_.push_back(w);
    return TRUE;
  }
  std::vector<HWND> windows_;
};

}  // namespace

HFONT CreateFontOf(const wchar_t* face, int characterHeight, BYTE charset) {
  return ::CreateFontW(-characterHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

HFONT CreateCourierNew(int characterHeight) {
  return ::CreateFontW(-characterHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                       L"Courier New");
}

WString TextOf(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return WString();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(window, text.data(), length + 1);
  return windows_impl::FromWide(text.data(), static_cast<std::size_t>(got > 0 ? got : 0));
}

ModalWindow::~ModalWindow() {
  if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
  if (font_ != nullptr) ::DeleteObject(font_);
  if (layout_.icon != nullptr) ::DestroyIcon(layout_.icon);
}

void ModalWindow::RunModal(WStringView caption, const WindowLayout& layout) {
  // Taken before this window's controls take the focus, so that what the
  // user worked in gets it back afterwards.
  const HWND previousActive = ::GetActiveWindow();
  const HWND previousFocus = ::GetFocus();
  layout_ = layout;
  caption_.assign(caption);
  dpi_ = ScreenDpi();
  font_ = CreateFontOf(L"Tahoma", Scale(layout_.fontHeight), DEFAULT_CHARSET);

  AcquireClass(&WindowProc);
  struct ClassRelease {
    ~ClassRelease() { ReleaseClass(); }
  } classRelease;

  const DWORD style = layout_.sizeable ? WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN
                                       : WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
  const DWORD exStyle = layout_.sizeable ? 0 : WS_EX_DLGMODALFRAME;
  RECT frame{0, 0, Scale(layout_.clientWidth), Scale(layout_.clientHeight)};
  ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  hwnd_ = ::CreateWindowExW(exStyle, kClassName, Wide(caption_).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, OwnModule(), this);
  if (hwnd_ == nullptr) windows_impl::ThrowSystemError("Cannot create the window", ::GetLastError());
  if (layout_.icon != nullptr) {
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(layout_.icon));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(layout_.icon));
  }
  CreateControls();
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  OnSize(client.right, client.bottom);
  Centre();
  AfterCreate();

  {
    DisabledThreadWindows disabled;
    ::EnableWindow(hwnd_, TRUE);
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::SetForegroundWindow(hwnd_);
    MSG msg;
    while (!closed_) {
      const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
      if (got == 0) {  // the application is quitting: end the window and pass the request on
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (got < 0) break;
      if (!::IsDialogMessageW(hwnd_, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
    }
  }  // the other windows are enabled again before this one goes, so activation returns to them
  if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
  if (previousActive != nullptr && ::IsWindow(previousActive)) ::SetActiveWindow(previousActive);
  // Activation alone leaves the keyboard focus on the window reactivated
  // (these are not dialogs, which remember their control): the control that
  // had it gets it back, so Tab and Enter work without a click.
  if (previousFocus != nullptr && ::IsWindow(previousFocus) && ::IsWindowEnabled(previousFocus) &&
      ::IsWindowVisible(previousFocus))
    ::SetFocus(previousFocus);
}

void ModalWindow::ShowErrorBox(WStringView message) {
  ::MessageBoxW(hwnd_, Wide(message).c_str(), Wide(caption_).c_str(), MB_OK | MB_ICONERROR);
}

HWND ModalWindow::AddControl(const wchar_t* windowClass, WStringView text, DWORD style, DWORD exStyle, int id) {
  HWND control = ::CreateWindowExW(exStyle, windowClass, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                                   0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), OwnModule(),
                                   nullptr);
  if (control == nullptr) windows_impl::ThrowSystemError("Cannot create a window control", ::GetLastError());
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return control;
}

bool ModalWindow::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool ModalWindow::KeepEditableColours(UINT message, WPARAM wParam, LPARAM lParam, HWND control, LRESULT& result) {
  if (message != WM_CTLCOLORSTATIC || reinterpret_cast<HWND>(lParam) != control) return false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
  result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
  return true;
}

void ModalWindow::Centre() {
  RECT r{};
  ::GetWindowRect(hwnd_, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK ModalWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ModalWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr || self->hwnd_ == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  return self->Dispatch(message, wParam, lParam);
}

LRESULT ModalWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam != 0) OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_TIMER:
      OnTimer();
      return 0;
    case WM_CLOSE:  // destroyed by RunModal once the other windows are enabled again
      closed_ = true;
      return 0;
    case WM_DESTROY:
      closed_ = true;
      ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return 0;
    default: {
      LRESULT result = 0;
      if (OnMessage(message, wParam, lParam, result)) return result;
      return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
  }
}

}  // namespace qarvex::platform::windows_ui
