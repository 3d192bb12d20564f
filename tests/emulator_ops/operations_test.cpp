// The emulated terminal's operations inside the process, where the clock,
// the regional separators and the data folders can be chosen: the question
// and the slip follow the user's separators, and the journal's folder falls
// back to the user's data folder when the machine-wide one is unusable.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/text.h"
#include "driver/uCustomDriver.h"
#include "emulator/uDriver.h"
#include "platform/clock.h"
#include "platform/regional_settings.h"
#include "platform/temp_folders.h"
#include "tests/driver/fake_host.h"

namespace qarvex::emulator {
namespace {

using acquiring::TTransactParams;

WString Sp(int n) { return WString(static_cast<size_t>(n), u' '); }
WString L(const WString& text) { return text + u"\r\n"; }

class OperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    driver::ExtensionName = u"qarvex_termemu";
    platform::OverrideClock([] { return LocalDateTime{2024, 1, 31, 23, 59, 58, 0}; });
    platform::OverrideRegionalSettings(platform::RegionalSettings{u',', u'.', u'-'});
    host.Attach(terminal);
  }
  void TearDown() override {
    terminal.Close();
    platform::OverrideClock({});
    platform::OverrideRegionalSettings(std::nullopt);
  }

  static TTransactParams Params(WStringView card, Currency amount, WStringView receipt = {}) {
    TTransactParams p;
    p.PAN.assign(card);
    p.Amount = amount;
    p.ReceiptNum.assign(receipt);
    return p;
  }

  testing::TempFolders folders;  // before the terminal: its journal lives there
  testing::FakeHost host;
  TDriver terminal;
};

TEST_F(OperationsTest, QuestionAndSlipUseTheUsersSeparators) {
  terminal.Open();
  terminal.SetUseDialogs(true);
  host.answer = true;
  TTransactParams p = Params(u"4276380012345678", 999000);  // 99.9
  terminal.PayOperation(p);
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(host.questions[0], u"ОПЛАТА: 99,9 руб.\r\nОдобрить операцию?");
  const WString block = L(WString(32, u'=')) + L(Sp(13) + u"ОПЛАТА" + Sp(13)) + L(u"") +
                        L(u"Дата:" + Sp(10) + u"31.01.24 23-59-58") + L(u"Сумма:" + Sp(18) + u"99,9 Руб") +
                        L(u"Номер чека:" + Sp(15) + u"000001") + L(u"Карта:" + Sp(10) + u"************5678") +
                        L(u"") + L(Sp(12) + u"ОДОБРЕНО" + Sp(12)) + L(WString(32, u'='));
  EXPECT_EQ(p.ReceiptText, block + L(u"[cut]") + block);

  // The copy of the stored operation carries the stored time and the copy mark.
  WString copy;
  terminal.GetReceiptCopy(u"", copy);
  EXPECT_EQ(copy.substr(0, 68), L(WString(32, u'=')) + L(Sp(9) + u"ОПЛАТА (КОПИЯ)" + Sp(9)));
}

TEST_F(OperationsTest, AmountsBelowAKopeckAreAskedAsGivenAndStoredRoundedHalfToEven) {
  terminal.Open();
  terminal.SetUseDialogs(true);
  host.answer = true;
  TTransactParams p = Params(u"12345", 1000050);  // 100.005
  terminal.PayOperation(p);
  EXPECT_EQ(host.questions.at(0), u"ОПЛАТА: 100,005 руб.\r\nОдобрить операцию?");
  WString report;
  terminal.GetReport(report, u"");
  EXPECT_NE(report.find(u"Сумма:" + Sp(19) + u"100 Руб\r\n"), WString::npos) << "10000.5 kopecks stored as 10000";
  EXPECT_NE(report.find(u"Карта:" + Sp(21) + u"12345\r\n"), WString::npos);
}

TEST_F(OperationsTest, JournalFallsBackToTheUsersDataFolderWhenTheMachineFolderIsUnusable) {
  std::filesystem::create_directories(folders.root());
  testing::WriteFile(folders.machine(), "a file where the folder should be");
  EXPECT_EQ(ToUtf8(terminal.GetDeviceFolder()), folders.user() + "/qarvex_termemu/");
  terminal.Open();
  TTransactParams p = Params(u"4276380012345678", 10000);
  terminal.PayOperation(p);
  EXPECT_EQ(p.ReceiptNum, u"000001");
  EXPECT_TRUE(std::filesystem::exists(folders.user() + "/qarvex_termemu/OperJournal/journal.db3"));
}

TEST_F(OperationsTest, ConnectFailsWithTheReasonWhenNoDataFolderCanBeHad) {
  std::filesystem::create_directories(folders.root());
  testing::WriteFile(folders.machine(), "in the way");
  testing::WriteFile(folders.user(), "in the way too");
  EXPECT_THROW(terminal.Open(), Failure);
  TTransactParams p = Params(u"4276380012345678", 10000);
  try {
    terminal.PayOperation(p);
    ADD_FAILURE() << "a payment without a journal must fail";
  } catch (const Failure& e) {
    EXPECT_EQ(FromUtf8(e.what()), u"Терминал не подключен");
  }
}

}  // namespace
}  // namespace qarvex::emulator
