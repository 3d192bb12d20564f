// Drives the component's Win32 windows from a second thread while the test's
// main thread is inside the host call that shows them (the windows are
// modal and run their own message loops there): finds windows by class and
// caption, presses buttons, types, reads texts, takes screenshots, closes.
//
// Bounded: every wait gives up after its limit and records a problem; from
// then on every window of the process is closed until the call returns.
// Problems are collected as texts and checked by the main thread.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace qarvex::testing {

struct ControlBox {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const ControlBox&) const = default;
  std::string Describe() const {
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ") " + std::to_string(width) + " x " +
           std::to_string(height);
  }
};

class WindowRobot {
 public:
  using Script = std::function<void(WindowRobot&)>;
  explicit WindowRobot(Script script);
  ~WindowRobot();  // waits for the script's thread
  // Waits until the script has ended; Problems() are complete afterwards.
  void Join();
  WindowRobot(const WindowRobot&) = delete;
  WindowRobot& operator=(const WindowRobot&) = delete;

  // The shown top-level window of this class and caption; a problem (and
  // the end of the script) when it does not appear within the limit.
  HWND WaitFor(const wchar_t* windowClass, const wchar_t* caption, int limitMs = 15000);
  void WaitGone(HWND window, int limitMs = 15000);
  // Waits until `control` has the keyboard focus of its window's thread; a
  // problem, naming what has it instead, when it does not within the limit.
  void WaitForFocus(HWND control, const std::string& what, int limitMs = 5000);
  HWND Control(HWND window, int id);
  void Press(HWND button);           // as a click does (BM_CLICK)
  void Type(HWND edit, const std::wstring& text);  // replaces the box's text, key by key
  void Close(HWND window);           // as the close box does
  std::wstring Text(HWND window);
  // Position and size of a control in its window's client area.
  ControlBox BoxInParent(HWND control);
  // Size of a window's client area.
  ControlBox ClientBox(HWND window);
  void Screenshot(const std::string& name, HWND window);
  void Check(bool ok, const std::string& what);

  const std::vector<std::string>& Problems() const { return problems_; }

 private:
  struct StepFailed {};
  void Run(const Script& script);
  void CloseEverything();

  std::vector<std::string> problems_;
  std::thread thread_;
};

// Screen text as UTF-8, for messages.
std::string Utf8(const std::wstring& text);

}  // namespace qarvex::testing
