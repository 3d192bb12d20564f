// The Win32 windows of the DLL, shown under wine on an X server, opened
// through the component as the platform opens them: the additional-
// operations panel with a receipt copy, the report (each giving the focus
// back to its button when it closes) and the error box for a receipt the
// journal does not have; the log viewer with its list of files.
// Screenshots go to artifacts/win32.
#include "windows_test_support.h"

#include "e2e_terminal/terminal_fixture.h"
#include "window_robot.h"

namespace qarvex::testing {
namespace {

constexpr wchar_t kClass[] = L"QarvexTermemuWindow";
constexpr wchar_t kMessageBoxClass[] = L"#32770";
// Control identifiers of the windows.
enum { kRecCopy = 101, kReport = 102, kRecNum = 103 };
enum { kText = 101, kPrint = 103 };
enum { kFiles = 101, kLog = 103 };

// The text of a message box: its static text control.
std::wstring MessageText(WindowRobot& robot, HWND box) {
  std::wstring longest;
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[32] = {};
    ::GetClassNameW(child, name, 32);
    if (std::wstring(name) != L"Static") continue;
    std::wstring text = robot.Text(child);
    if (text.size() > longest.size()) longest = text;
  }
  return longest;
}

// Whether a control's font has characters of one width (Courier New or,
// where it is missing, another fixed-pitch face).
bool IsFixedPitch(HWND control) {
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  HDC dc = ::GetDC(control);
  HGDIOBJ previous = ::SelectObject(dc, font);
  SIZE narrow{}, wide{};
  ::GetTextExtentPoint32W(dc, L"iiiiiiii", 8, &narrow);
  ::GetTextExtentPoint32W(dc, L"ШШШШШШШШ", 8, &wide);
  ::SelectObject(dc, previous);
  ::ReleaseDC(control, dc);
  return narrow.cx == wide.cx;
}

class Win32Windows : public TerminalTest {
 protected:
  void SetUp() override {
    // test-windows.sh starts an X server for wine and names it here.
    if (std::getenv("QARVEX_WINE_DISPLAY") == nullptr)
      GTEST_SKIP() << "no X server for wine's windows (scripts/test-windows.sh starts one)";
    TerminalTest::SetUp();
  }
  void TearDown() override {
    if (!IsSkipped()) TerminalTest::TearDown();  // nothing was loaded
  }
  bool Action(const char16_t* name) {
    std::vector<HostValue> params{HostValue(name)};
    return Call(*driver, u"ВыполнитьДополнительноеДействие", params);
  }
  static void ExpectNoProblems(const WindowRobot& robot) {
    for (const std::string& problem : robot.Problems()) ADD_FAILURE() << problem;
  }
};

TEST_F(Win32Windows, PanelShowsACopyTheReportAndTheErrorBoxThenCloses) {
  ASSERT_TRUE(Pay(kCard, 100).returned);
  ASSERT_TRUE(Pay(kCard, 250).returned);
  std::wstring copy, report, error;
  bool result = false;
  {
    WindowRobot robot([&](WindowRobot& r) {
      HWND panel = r.WaitFor(kClass, L"Дополнительные операции");
      // 338 x 115 at 120 pixels per inch is 270 x 92 at wine's 96.
      r.Check(r.ClientBox(panel) == ControlBox{0, 0, 270, 92}, "panel client " + r.ClientBox(panel).Describe());
      const ControlBox copyBox = r.BoxInParent(r.Control(panel, kRecCopy));
      r.Check(copyBox == ControlBox{25, 18, 182, 20}, "copy button at " + copyBox.Describe());
      r.Check(r.Text(r.Control(panel, kRecCopy)) == L"Печать копии чека", "copy button caption");
      r.Check(r.Text(r.Control(panel, kRecNum)) == L"1", "receipt number starts as 1");
      r.Screenshot("panel", panel);

      r.Press(r.Control(panel, kRecCopy));
      HWND text = r.WaitFor(kClass, L"Копия чека");
      r.Check(r.ClientBox(text) == ControlBox{0, 0, 408, 308}, "text window client " + r.ClientBox(text).Describe());
      const ControlBox printBox = r.BoxInParent(r.Control(text, kPrint));
      r.Check(printBox == ControlBox{288, 264, 107, 33}, "print button at " + printBox.Describe());
      copy = r.Text(r.Control(text, kText));
      r.Check(IsFixedPitch(r.Control(text, kText)), "the text box's font is not fixed-pitch: slip columns break");
      r.Screenshot("text-window-receipt-copy", text);
      r.Close(text);
      r.WaitGone(text);
      r.WaitForFocus(r.Control(panel, kRecCopy), "after the receipt copy, the copy button has the focus back");

      r.Press(r.Control(panel, kReport));
      text = r.WaitFor(kClass, L"Отчет");
      report = r.Text(r.Control(text, kText));
      r.Screenshot("text-window-report", text);
      r.Close(text);
      r.WaitGone(text);
      r.WaitForFocus(r.Control(panel, kReport), "after the report, the report button has the focus back");

      r.Type(r.Control(panel, kRecNum), L"7");
      r.Check(r.Text(r.Control(panel, kRecNum)) == L"7", "typed receipt number");
      r.Press(r.Control(panel, kRecCopy));
      HWND box = r.WaitFor(kMessageBoxClass, L"Дополнительные операции");
      error = MessageText(r, box);
      r.Screenshot("panel-error-box", box);
      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
      r.WaitGone(box);
      r.Check(::IsWindowVisible(panel) && ::FindWindowW(kClass, L"Копия чека") == nullptr,
              "the panel stays open and no text window is shown");
      r.Close(panel);
      r.WaitGone(panel);
    });
    result = Action(u"ShowAdditionalOperationPanel");
    robot.Join();
    ExpectNoProblems(robot);
  }
  EXPECT_TRUE(result) << Utf8(LastError());
  const std::u16string rule(32, u'=');
  EXPECT_EQ(copy.rfind(L"================================\r\n         ОПЛАТА (КОПИЯ)         \r\n", 0), 0u)
      << Utf8(copy);
  EXPECT_NE(copy.find(L"Номер чека:               000001\r\n"), std::wstring::npos) << Utf8(copy);
  EXPECT_NE(report.find(L"Номер чека:               000002\r\n"), std::wstring::npos) << Utf8(report);
  EXPECT_EQ(error, L"Транзакция не найдена");
  EXPECT_FALSE(Pay(kCard, 1).returned) << "the panel leaves the driver disconnected";
}

TEST_F(Win32Windows, LogViewerListsTheLogFileAndShowsIt) {
  ASSERT_TRUE(driver->SetProp(u"ЛогВключен", HostValue(true)));
  std::vector<HostValue> none;
  driver->CallFunc(u"GetVersion", none);
  std::wstring shown, text;
  LRESULT count = 0;
  bool result = false;
  {
    WindowRobot robot([&](WindowRobot& r) {
      HWND viewer = r.WaitFor(kClass, L"Просмотр лога");
      r.Check(r.ClientBox(viewer) == ControlBox{0, 0, 506, 234}, "viewer client " + r.ClientBox(viewer).Describe());
      HWND files = r.Control(viewer, kFiles);
      count = ::SendMessageW(files, CB_GETCOUNT, 0, 0);
      shown = r.Text(files);
      text = r.Text(r.Control(viewer, kLog));
      r.Screenshot("log-viewer", viewer);
      r.Close(viewer);
      r.WaitGone(viewer);
    });
    result = Action(u"ViewLog");
    robot.Join();
    ExpectNoProblems(robot);
  }
  EXPECT_TRUE(result) << Utf8(LastError());
  EXPECT_TRUE(driver->SetProp(u"ЛогВключен", HostValue(false)));
  EXPECT_EQ(count, 1);
  EXPECT_EQ(shown.rfind(L"qarvex_termemu_", 0), 0u) << Utf8(shown);
  EXPECT_NE(text.find(L"\tDEBUG\t> GetVersion: "), std::wstring::npos) << Utf8(text);
}

}  // namespace
}  // namespace qarvex::testing
