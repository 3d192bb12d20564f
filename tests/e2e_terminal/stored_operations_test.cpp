// Operations on stored rows through the host: cancellations, the
// confirmation of a pre-authorisation, and the emergency reversal.
#include "e2e_terminal/terminal_fixture.h"

namespace qarvex::testing {
namespace {

using StoredOperationTest = TerminalTest;

constexpr char16_t kCancelPayment[] = u"ОтменитьПлатежПоПлатежнойКарте";
constexpr char16_t kCancelAuth[] = u"ОтменитьПреавторизациюПоПлатежнойКарте";
constexpr char16_t kConfirm[] = u"ЗавершитьПреавторизациюПоПлатежнойКарте";

TEST_F(StoredOperationTest, ReceiptNumberThatIsNotANonNegativeIntegerFailsBeforeAnyQuestion) {
  ASSERT_TRUE(Pay(kCard, 10).returned);
  Dialogs(true);
  host->SetDefaultAnswer(MsgBoxAnswer::Yes);
  for (const char16_t* method : {kCancelPayment, kCancelAuth, kConfirm}) {
    for (const char16_t* receipt : {u"", u"abc", u"-1", u"1.5"}) {
      const CardResult r = Card(method, kCard, 10, receipt);
      EXPECT_FALSE(r.returned);
      EXPECT_EQ(LastError(), u"Не указан номер квитанции");
      EXPECT_EQ(r.Slip(), u"");
      EXPECT_EQ(r.Receipt(), receipt) << Utf8(receipt);
    }
  }
  EXPECT_TRUE(host->Questions().empty());
  EXPECT_EQ(StoredRows().size(), 1u);
}

TEST_F(StoredOperationTest, CancellingOneNumberTwiceDeletesItOnceThenFails) {
  ASSERT_TRUE(Pay(kCard, 1500).returned);
  ASSERT_TRUE(Pay(kCard, 200).returned);
  const CardResult first = Card(kCancelPayment, kCard, 1500, u"000001");
  ASSERT_TRUE(first.returned) << Utf8(LastError());
  EXPECT_TRUE(first.SlipIs({u"ОТМЕНА", {}, u"1500 Руб", u"000001", kMasked, true}));
  // The numbers stay as the host sent them.
  EXPECT_EQ(first.Receipt(), u"000001");
  EXPECT_EQ(first.Text(4), u"rrn-in");
  EXPECT_EQ(first.Text(5), u"auth-in");
  EXPECT_EQ(StoredRows(), (std::vector<Stored>{{2, 20000, 0, kCard}}));

  const CardResult second = Card(kCancelPayment, kCard, 1500, u"000001");
  EXPECT_FALSE(second.returned);
  EXPECT_EQ(LastError(), u"Транзакция не найдена");
  EXPECT_EQ(second.Slip(), u"") << "no slip for a cancellation that found nothing";
  EXPECT_EQ(StoredRows().size(), 1u);
}

TEST_F(StoredOperationTest, CancellationRemovesARowOfAnyTypeWhateverAmountItNames) {
  ASSERT_TRUE(Card(u"ПреавторизацияПоПлатежнойКарте", kCard, 2000).returned);
  ASSERT_TRUE(Card(u"ВернутьПлатежПоПлатежнойКарте", kCard, 50).returned);
  Dialogs(true);
  host->SetDefaultAnswer(MsgBoxAnswer::Yes);
  const CardResult r = Card(kCancelAuth, kCard, 5, u"1");
  ASSERT_TRUE(r.returned) << Utf8(LastError());
  EXPECT_EQ(host->Questions(), (std::vector<std::u16string>{u"ОТМЕНА: 5 руб.\r\nОдобрить операцию?"}));
  EXPECT_TRUE(r.SlipIs({u"ОТМЕНА", {}, u"5 Руб", u"000001", kMasked, true}));
  ASSERT_TRUE(Card(kCancelPayment, kCard, 0, u"2").returned);
  EXPECT_TRUE(StoredRows().empty());
}

TEST_F(StoredOperationTest, DeclinedCancellationDeletesNothingAndHandsBackADeclinedSlip) {
  ASSERT_TRUE(Pay(kCard, 1500).returned);
  Dialogs(true);
  host->ScriptAnswers({MsgBoxAnswer::No});
  const CardResult r = Card(kCancelPayment, kCard, 1500, u"000001");
  ASSERT_TRUE(r.returned) << Utf8(LastError());
  EXPECT_TRUE(r.SlipIs({u"ОТМЕНА", {}, u"1500 Руб", u"000001", kMasked, false}));
  EXPECT_EQ(StoredRows().size(), 1u);
  // Declining a number the journal does not hold is no failure either.
  host->ScriptAnswers({MsgBoxAnswer::No});
  EXPECT_TRUE(Card(kCancelPayment, kCard, 1, u"99").returned);
}

TEST_F(StoredOperationTest, ApprovedConfirmationOfUnknownNumberFailsButHandsBackADeclinedSlip) {
  Dialogs(true);
  host->ScriptAnswers({MsgBoxAnswer::Yes});
  const CardResult r = Card(kConfirm, kCard, 1800, u"42");
  EXPECT_FALSE(r.returned);
  EXPECT_EQ(LastError(), u"Транзакция не найдена");
  EXPECT_EQ(host->Questions(), (std::vector<std::u16string>{u"ПОДТВЕРЖДЕНИЕ: 1800 руб.\r\nОдобрить операцию?"}));
  EXPECT_TRUE(r.SlipIs({u"ПОДТВЕРЖДЕНИЕ", {}, u"1800 Руб", u"000042", kMasked, false}));
  EXPECT_EQ(r.Receipt(), u"42");
}

TEST_F(StoredOperationTest, ConfirmationLeavesThePreauthorisationAsStored) {
  ASSERT_TRUE(Card(u"ПреавторизацияПоПлатежнойКарте", kCard, 2000).returned);
  const CardResult approved = Card(kConfirm, kCard, 1800, u"000001");
  ASSERT_TRUE(approved.returned) << Utf8(LastError());
  EXPECT_TRUE(approved.SlipIs({u"ПОДТВЕРЖДЕНИЕ", {}, u"1800 Руб", u"000001", kMasked, true}));
  EXPECT_EQ(approved.Text(4), u"rrn-in");
  Dialogs(true);
  host->ScriptAnswers({MsgBoxAnswer::No});
  const CardResult declined = Card(kConfirm, kCard, 1800, u"000001");
  ASSERT_TRUE(declined.returned) << Utf8(LastError());
  EXPECT_TRUE(declined.SlipIs({u"ПОДТВЕРЖДЕНИЕ", {}, u"1800 Руб", u"000001", kMasked, false}));
  EXPECT_EQ(StoredRows(), (std::vector<Stored>{{1, 200000, 2, kCard}}));
}

TEST_F(StoredOperationTest, EmergencyReversalRemovesTheNewestRowWhoseNumberIsThenReused) {
  ASSERT_TRUE(Pay(kCard, 1).returned);
  ASSERT_TRUE(Card(u"ВернутьПлатежПоПлатежнойКарте", kCard, 2).returned);
  ASSERT_TRUE(Reversal()) << Utf8(LastError());
  EXPECT_EQ(StoredRows(), (std::vector<Stored>{{1, 100, 0, kCard}}));
  EXPECT_EQ(Pay(kCard, 3).Receipt(), u"000002");

  Dialogs(true);
  host->ScriptAnswers({MsgBoxAnswer::No, MsgBoxAnswer::Yes, MsgBoxAnswer::Yes, MsgBoxAnswer::Yes});
  EXPECT_TRUE(Reversal()) << "a declined reversal is no failure";
  EXPECT_EQ(StoredRows().size(), 2u);
  EXPECT_TRUE(Reversal());
  EXPECT_TRUE(Reversal());
  EXPECT_TRUE(StoredRows().empty());
  EXPECT_FALSE(Reversal());
  EXPECT_EQ(LastError(), u"Транзакция не найдена");
  EXPECT_EQ(host->Questions().at(0), u"АВАРИЙНАЯ ОТМЕНА\r\nОдобрить операцию?");
  EXPECT_EQ(host->Questions().size(), 4u);
}

}  // namespace
}  // namespace qarvex::testing
