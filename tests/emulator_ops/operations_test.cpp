// The emulated terminal's operations inside the process, where the clock,
// the regional separators and the data folders can be chosen: the question
// and the slip follow the user's separators, and the journal's folder falls
// back to the user's data folder when the machine-wide one is unusable.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <utility>
#include <string>

#include "common/text.h"
#include "driver/uCustomDriver.h"
#include "emulator/slip_texts.h"
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
    driver::ExtensionName() = u"qarvex_termemu";
    platform::OverrideClock([] { return LocalDateTime{2024, 1, 31, 23, 59, 58, 0}; });
    platform::OverrideRegionalSettings(platform::RegionalSettings{u',', u'.', u'-'});
    host.Attach(terminal);
  }
  void TearDown() override {
    terminal.Close();
    platform::OverrideClock({});
    platform::OverrideRegionalSettings(std::nullopt);
  }

  // A connected terminal with dialogs on pays `amount`, the cashier
  // approving.
  TTransactParams PayApproved(WStringView card, Currency amount) {
    terminal.Open();
    terminal.SetUseDialogs(true);
    host.answer = true;
    TTransactParams p = Params(card, amount);
    terminal.PayOperation(p);
    return p;
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
  const TTransactParams p = PayApproved(u"4276380012345678", 999000);  // 99.9
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
  PayApproved(u"12345", 1000050);  // 100.005
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

// A clock that reads well `good` times and then names a time that does not
// exist, so the step after the journal's (the slip's date) fails.
std::function<LocalDateTime()> ClockFailingAfter(int good) {
  return [calls = 0, good]() mutable {
    return ++calls <= good ? LocalDateTime{2024, 1, 31, 23, 59, 58, 0} : LocalDateTime{2024, 13, 1, 0, 0, 0, 0};
  };
}

int Rows(TDriver& terminal) {
  WString report;
  terminal.GetReport(report, u"");
  int rows = 0;
  for (size_t at = report.find(u"Номер чека:"); at != WString::npos; at = report.find(u"Номер чека:", at + 1)) ++rows;
  return rows;
}

// Each operation that changes the journal and then fails (here: its slip
// cannot be dated) leaves the journal exactly as it was and hands back no
// number of a row that is not there.
TEST_F(OperationsTest, AnOperationFailingAfterItsJournalStepStoresAndDeletesNothing) {
  terminal.Open();
  TTransactParams first = Params(u"4276380012345678", 10000);
  terminal.PayOperation(first);
  ASSERT_EQ(first.ReceiptNum, u"000001");

  // A new row's stamp reads the clock once before the slip; a cancellation
  // reads it first for its slip.
  using Operation = void (TDriver::*)(TTransactParams&);
  const std::pair<Operation, int> operations[] = {{&TDriver::PayOperation, 1},
                                                  {&TDriver::ReturnPaymentOperation, 1},
                                                  {&TDriver::AuthorisationOperation, 1},
                                                  {&TDriver::CancelPaymentOperation, 0}};
  for (const auto& [operation, goodReadings] : operations) {
    platform::OverrideClock(ClockFailingAfter(goodReadings));
    TTransactParams p = Params(u"4276380012345678", 20000, u"1");
    EXPECT_THROW((terminal.*operation)(p), Failure);
    EXPECT_EQ(p.ReceiptNum, u"1") << "the numbers stay as sent";
    EXPECT_EQ(p.ReceiptText, u"");
    platform::OverrideClock(ClockFailingAfter(1000));
    EXPECT_EQ(Rows(terminal), 1) << "the journal is as before";
  }
  TTransactParams next = Params(u"4276380012345678", 10000);
  terminal.PayOperation(next);
  EXPECT_EQ(next.ReceiptNum, u"000002") << "no number was used up";

  // A settlement whose report cannot be dated clears nothing.
  platform::OverrideClock(ClockFailingAfter(0));
  WString text = u"untouched";
  EXPECT_THROW(terminal.SettlementOperation(text), Failure);
  EXPECT_EQ(text, u"untouched");
  platform::OverrideClock(ClockFailingAfter(1000));
  EXPECT_EQ(Rows(terminal), 2);
}

// The width is checked before the question: a refused operation asks nothing.
// The card operations and the settlement are refused through the host
// (WideLinesTest); here, what the host reaches only through the panel and
// the slip builder itself.
TEST_F(OperationsTest, CopiesReportsAndSlipsAreRefusedAboveTheWidthBound) {
  terminal.Open();
  TTransactParams p = Params(u"4276380012345678", 10000);
  terminal.SetLineLength(kMaxLineLength + 1);
  WString copy;
  EXPECT_THROW(terminal.GetReceiptCopy(u"", copy), Failure);
  EXPECT_THROW(terminal.GetReport(copy, u""), Failure);
  EXPECT_THROW(BuildSlip(u"x", 1, 0, u"", 0, true, 2147483647), Failure);
  terminal.SetLineLength(kMaxLineLength);
  terminal.PayOperation(p);
  EXPECT_EQ(p.ReceiptNum, u"000001");
}

}  // namespace
}  // namespace qarvex::emulator
