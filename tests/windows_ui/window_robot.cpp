#include "window_robot.h"

#include <cstdint>
#include <cstdlib>

#include "png_file.h"

#ifndef QARVEX_ARTIFACTS_DIR
#error "QARVEX_ARTIFACTS_DIR names the folder of the screenshots"
#endif

namespace qarvex::testing {
namespace {

constexpr int kPollMs = 50;

// The artefacts folder (a path of the machine running wine) as wine's Z: drive.
std::wstring ArtifactsFolder() {
  std::wstring folder = L"Z:";
  for (const char* c = QARVEX_ARTIFACTS_DIR; *c; ++c) folder += (*c == '/') ? L'\\' : static_cast<wchar_t>(*c);
  folder += L"\\win32";
  std::wstring partial;
  for (std::size_t i = 0; i < folder.size(); ++i) {
    partial += folder[i];
    if (i + 1 == folder.size() || folder[i + 1] == L'\\') ::CreateDirectoryW(partial.c_str(), nullptr);
  }
  return folder;
}

BOOL CALLBACK CloseOne(HWND window, LPARAM) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window)) return TRUE;
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (std::wstring(name) == L"#32770") ::PostMessageW(window, WM_COMMAND, IDOK, 0);  // a message box
  else ::PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

}  // namespace

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

WindowRobot::WindowRobot(Script script) : thread_([this, script = std::move(script)] { Run(script); }) {}

WindowRobot::~WindowRobot() { Join(); }

void WindowRobot::Join() {
  if (thread_.joinable()) thread_.join();
}

void WindowRobot::Run(const Script& script) {
  try {
    script(*this);
  } catch (const StepFailed&) {
    CloseEverything();
  }
}

void WindowRobot::CloseEverything() {
  // Until the host call has returned nothing of ours is shown; bounded.
  for (int i = 0; i < 200; ++i) {
    ::EnumWindows(&CloseOne, 0);
    ::Sleep(kPollMs);
  }
}

void WindowRobot::Check(bool ok, const std::string& what) {
  if (!ok) problems_.push_back(what);
}

HWND WindowRobot::WaitFor(const wchar_t* windowClass, const wchar_t* caption, int limitMs) {
  for (int waited = 0; waited < limitMs; waited += kPollMs) {
    HWND window = ::FindWindowW(windowClass, caption);
    if (window != nullptr && ::IsWindowVisible(window)) {
      ::Sleep(200);  // drawn
      return window;
    }
    ::Sleep(kPollMs);
  }
  problems_.push_back("timed out waiting for the window \"" + Utf8(caption) + "\"");
  throw StepFailed{};
}

void WindowRobot::WaitGone(HWND window, int limitMs) {
  for (int waited = 0; waited < limitMs; waited += kPollMs) {
    if (!::IsWindow(window) || !::IsWindowVisible(window)) return;
    ::Sleep(kPollMs);
  }
  problems_.push_back("timed out waiting for a window to close");
  throw StepFailed{};
}

void WindowRobot::WaitForFocus(HWND control, const std::string& what, int limitMs) {
  // The focus belongs to the window's thread, not to this one: read it there.
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  for (int waited = 0; waited < limitMs; waited += kPollMs) {
    if (::GetGUIThreadInfo(::GetWindowThreadProcessId(control, nullptr), &info) && info.hwndFocus == control) return;
    ::Sleep(kPollMs);
  }
  problems_.push_back(what + ": the focus is on " + (info.hwndFocus ? "window " + Utf8(Text(info.hwndFocus))
                                                                     : std::string("no window")));
  throw StepFailed{};
}

HWND WindowRobot::Control(HWND window, int id) {
  HWND control = ::GetDlgItem(window, id);
  if (control == nullptr) {
    problems_.push_back("no control " + std::to_string(id));
    throw StepFailed{};
  }
  return control;
}

void WindowRobot::Press(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

void WindowRobot::Type(HWND edit, const std::wstring& text) {
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
  for (wchar_t c : text) ::SendMessageW(edit, WM_CHAR, c, 1);
}

void WindowRobot::Close(HWND window) { ::PostMessageW(window, WM_CLOSE, 0, 0); }

std::wstring WindowRobot::Text(HWND window) {
  DWORD_PTR length = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 5000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_BLOCK, 5000, &got);
  text.resize(got);
  return text;
}

ControlBox WindowRobot::BoxInParent(HWND control) {
  RECT r{};
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return ControlBox{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

ControlBox WindowRobot::ClientBox(HWND window) {
  RECT r{};
  ::GetClientRect(window, &r);
  return ControlBox{0, 0, r.right, r.bottom};
}

void WindowRobot::Screenshot(const std::string& name, HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  const auto* pixels = static_cast<const std::uint8_t*>(bits);
  for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
    rgb[i * 3] = pixels[i * 4 + 2];
    rgb[i * 3 + 1] = pixels[i * 4 + 1];
    rgb[i * 3 + 2] = pixels[i * 4];
  }
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  std::wstring file = ArtifactsFolder() + L"\\";
  for (char c : name) file += static_cast<wchar_t>(c);
  Check(WritePng(file + L".png", width, height, rgb), "screenshot " + name + " not written");
}

}  // namespace qarvex::testing
