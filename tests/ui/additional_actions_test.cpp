// The additional-operations panel on a real emulated terminal whose journal
// lives in temporary folders: each button connects, shows its text window
// and disconnects; errors go to the window's message box and the window
// stays usable.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "acquiring/uAcquiringTerminalDriver.h"
#include "common/error.h"
#include "driver/uCustomDriver.h"
#include "emulator/uDriver.h"
#include "emulator/ufmAdditionalActions.h"
#include "platform/clock.h"
#include "platform/regional_settings.h"
#include "platform/temp_folders.h"

namespace qarvex::emulator {
namespace {

// Counts the connection steps the panel takes; can refuse to connect.
class SpyDriver final : public TDriver {
 public:
  void Open() override {
    calls.push_back("Open");
    if (failOpen) throw Failure("Cannot open the journal");
    TDriver::Open();
  }
  void Close() override {
    calls.push_back("Close");
    TDriver::Close();
  }
  std::vector<std::string> calls;
  bool failOpen = false;
};

struct ShownText {
  WString caption;
  WString text;
};

class FakeWindows final : public platform::IWindows {
 public:
  void ShowTextBox(platform::ITextBoxForm& form) override {
    if (refuseTextBox) throw Failure("The text window cannot be created");
    shown.push_back({form.Caption(), form.Text()});
  }
  void ShowAdditionalActions(platform::IAdditionalActionsForm& form) override { panelShown(form); }
  void ShowLogViewer(platform::ILogForm&) override { ADD_FAILURE() << "no log viewer expected"; }

  std::vector<ShownText> shown;
  bool refuseTextBox = false;
  std::function<void(platform::IAdditionalActionsForm&)> panelShown = [](auto&) {};
};

class FakePanelView final : public platform::IAdditionalActionsView {
 public:
  WString ReceiptNumberText() override { return number; }
  void ShowError(WStringView message) override { errors.emplace_back(message); }
  WString number;
  std::vector<WString> errors;
};

WString L(const WString& text) { return text + u"\r\n"; }
WString Sp(int n) { return WString(static_cast<std::size_t>(n), u' '); }

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    driver::ExtensionName() = u"qarvex_termemu";
    platform::OverrideClock([] { return LocalDateTime{2024, 1, 31, 23, 59, 58, 0}; });
    platform::OverrideRegionalSettings(platform::RegionalSettings{u',', u'.', u':'});
  }
  void TearDown() override {
    terminal.Close();
    platform::OverrideClock({});
    platform::OverrideRegionalSettings(std::nullopt);
  }

  // Stores payments through the driver, which is left disconnected.
  void Pay(std::initializer_list<Currency> amounts) {
    terminal.Open();
    for (Currency amount : amounts) {
      acquiring::TTransactParams p;
      p.PAN = u"4276380012345678";
      p.Amount = amount;
      terminal.PayOperation(p);
    }
    terminal.Close();
    terminal.calls.clear();
  }

  // A button press as the window dispatches it.
  void PressCopy() {
    platform::RunEventHandler(view, [&] { panel.btnRecCopyClick(view); });
  }
  void PressReport() {
    platform::RunEventHandler(view, [&] { panel.btnReportClick(view); });
  }

  testing::TempFolders folders;  // before the terminal: its journal lives there
  SpyDriver terminal;
  FakeWindows windows;
  TfrmAdditionalActions panel{terminal, windows};
  FakePanelView view;
};

TEST_F(PanelTest, CopyOfTheInitialReceiptNumberShowsTheFirstOperationAndDisconnects) {
  Pay({1000000, 2000000});
  view.number = panel.InitialReceiptNumber();
  PressCopy();
  EXPECT_TRUE(view.errors.empty());
  ASSERT_EQ(windows.shown.size(), 1u);
  EXPECT_EQ(windows.shown[0].caption, u"Копия чека");
  const WString& text = windows.shown[0].text;
  EXPECT_EQ(text.substr(0, 68), L(WString(32, u'=')) + L(Sp(9) + u"ОПЛАТА (КОПИЯ)" + Sp(9)));
  EXPECT_NE(text.find(L(u"Сумма:" + Sp(19) + u"100 Руб")), WString::npos);
  EXPECT_NE(text.find(L(u"Номер чека:" + Sp(15) + u"000001")), WString::npos);
  EXPECT_EQ(terminal.calls, (std::vector<std::string>{"Open", "Close"}));
  EXPECT_FALSE(terminal.Connected());
}

TEST_F(PanelTest, ANumberThatIsNotANumberShowsTheNewestOperation) {
  Pay({1000000, 2000000});
  view.number = u" 1x";
  PressCopy();
  ASSERT_EQ(windows.shown.size(), 1u);
  EXPECT_NE(windows.shown[0].text.find(L(u"Номер чека:" + Sp(15) + u"000002")), WString::npos);
}

TEST_F(PanelTest, ReportOfAnEmptyJournalLeavesAHostConnectionDisconnected) {
  terminal.Open();  // as after the host's connect
  terminal.calls.clear();
  PressReport();
  ASSERT_EQ(windows.shown.size(), 1u);
  EXPECT_EQ(windows.shown[0].caption, u"Отчет");
  EXPECT_EQ(windows.shown[0].text, L(WString(32, u'=')) + L(Sp(13) + u"СВЕРКА" + Sp(13)) +
                                       L(u"Дата:" + Sp(10) + u"31.01.24 23:59:58") +
                                       L(u"Журнал транзакций пуст" + Sp(10)) + L(WString(32, u'=')));
  EXPECT_EQ(terminal.calls, (std::vector<std::string>{"Open", "Close"}));
  EXPECT_FALSE(terminal.Connected());
}

TEST_F(PanelTest, UnknownReceiptIsReportedAfterDisconnectingAndThePanelStaysUsable) {
  view.number = u"1";
  PressCopy();  // empty journal
  EXPECT_EQ(view.errors, std::vector<WString>{u"Транзакция не найдена"});
  EXPECT_TRUE(windows.shown.empty());
  EXPECT_EQ(terminal.calls, (std::vector<std::string>{"Open", "Close"}));

  Pay({500000});
  PressCopy();
  PressReport();
  ASSERT_EQ(windows.shown.size(), 2u);
  EXPECT_EQ(windows.shown[1].caption, u"Отчет");
  EXPECT_NE(windows.shown[1].text.find(L(u"ИТОГ:" + Sp(21) + u"50 Руб")), WString::npos);
  EXPECT_EQ(terminal.calls, (std::vector<std::string>{"Open", "Close", "Open", "Close"}));
  EXPECT_EQ(view.errors.size(), 1u);
}

TEST_F(PanelTest, AFailedConnectShowsNoTextAndDoesNotDisconnect) {
  terminal.failOpen = true;
  view.number = u"1";
  PressCopy();
  PressReport();
  EXPECT_EQ(view.errors, (std::vector<WString>{u"Cannot open the journal", u"Cannot open the journal"}));
  EXPECT_TRUE(windows.shown.empty());
  EXPECT_EQ(terminal.calls, (std::vector<std::string>{"Open", "Open"}));
}

TEST_F(PanelTest, ATextWindowThatCannotBeShownStillDisconnects) {
  Pay({1000000});
  windows.refuseTextBox = true;
  view.number = u"1";
  PressCopy();
  EXPECT_EQ(view.errors, std::vector<WString>{u"The text window cannot be created"});
  EXPECT_EQ(terminal.calls, (std::vector<std::string>{"Open", "Close"}));
  EXPECT_FALSE(terminal.Connected());
}

TEST_F(PanelTest, ThePanelIsShownThroughTheWindowsItWasGiven) {
  Pay({1000000});
  int shown = 0;
  windows.panelShown = [&](platform::IAdditionalActionsForm& form) {
    ++shown;
    view.number = form.InitialReceiptNumber();
    platform::RunEventHandler(view, [&] { form.btnRecCopyClick(view); });
  };
  panel.ShowModal();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(windows.shown.size(), 1u);
}

TEST_F(PanelTest, WithoutADisplayTheActionFailsSayingWhatIsMissing) {
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  try {
    terminal.ShowAdditionalOperationPanel();
    FAIL() << "the panel should be refused";
  } catch (const Failure& e) {
    EXPECT_EQ(std::string(e.what()).rfind("The additional operations panel window cannot be shown: ", 0), 0u)
        << e.what();
  }
  EXPECT_TRUE(terminal.calls.empty());
}

}  // namespace
}  // namespace qarvex::emulator
