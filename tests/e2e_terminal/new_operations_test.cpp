// Payments, returns and pre-authorisations through the host: numbering from
// the journal row, the two-copy slip, the cashier's question and decline,
// amounts the journal cannot hold, and card texts that look like SQL.
#include "e2e_terminal/terminal_fixture.h"

namespace qarvex::testing {
namespace {

using NewOperationTest = TerminalTest;

TEST_F(NewOperationTest, FirstApprovedPaymentIsNumberOneWithTwoCopySlipAndUnmaskedRow) {
  const CardResult r = Pay(kCard, 1500);
  ASSERT_TRUE(r.returned) << Utf8(LastError());
  EXPECT_EQ(r.params[1], HostValue(kMasked));
  EXPECT_EQ(r.params[2], HostValue(1500.0));
  EXPECT_EQ(r.Receipt(), u"000001");
  EXPECT_EQ(r.Text(4), u"000000000001");
  EXPECT_EQ(r.Text(5), u"000001");
  const auto block = [](const std::u16string& date) {
    return u"================================\r\n" + Sp(13) + u"ОПЛАТА" + Sp(13) + u"\r\n\r\n" + u"Дата:" + Sp(10) +
           date + u"\r\n" + u"Сумма:" + Sp(18) + u"1500 Руб\r\n" + u"Номер чека:" + Sp(15) + u"000001\r\n" +
           u"Карта:" + Sp(10) + kMasked + u"\r\n\r\n" + Sp(12) + u"ОДОБРЕНО" + Sp(12) + u"\r\n" +
           u"================================\r\n";
  };
  const std::u16string slip = r.Slip();
  EXPECT_TRUE(r.time.Matches(slip, [&](const std::u16string& date) { return block(date) + u"[cut]\r\n" + block(date); }));
  EXPECT_TRUE(host->Questions().empty()) << "dialogs are off by default";
  EXPECT_EQ(StoredRows(), (std::vector<Stored>{{1, 150000, 0, kCard}}));
  EXPECT_EQ(LastError(), u"");
}

TEST_F(NewOperationTest, DeclinedPaymentSucceedsWithZeroNumbersAndDeclinedSlipAndStoresNothing) {
  Dialogs(true);
  host->ScriptAnswers({MsgBoxAnswer::No, MsgBoxAnswer::Yes});
  const CardResult declined = Pay(kCard, 1500);
  ASSERT_TRUE(declined.returned) << Utf8(LastError());
  EXPECT_EQ(host->Questions().at(0), u"ОПЛАТА: 1500 руб.\r\nОдобрить операцию?");
  EXPECT_EQ(declined.Receipt(), u"000000");
  EXPECT_EQ(declined.Text(4), u"000000000000");
  EXPECT_EQ(declined.Text(5), u"000000");
  EXPECT_TRUE(declined.SlipIs({u"ОПЛАТА", {}, u"1500 Руб", u"000000", kMasked, false}));
  EXPECT_TRUE(StoredRows().empty());
  EXPECT_EQ(LastError(), u"");

  // The decline used no number: the next approved payment is still the first.
  EXPECT_EQ(Pay(kCard, 20).Receipt(), u"000001");
}

TEST_F(NewOperationTest, ReturnAndPreauthorisationAskWithTheirTitlesAndStoreTheirTypes) {
  Dialogs(true);
  host->SetDefaultAnswer(MsgBoxAnswer::Yes);
  // A return does not refer to the receipt number the host sends.
  const CardResult ret = Card(u"ВернутьПлатежПоПлатежнойКарте", kCard, 300.5, u"000777");
  ASSERT_TRUE(ret.returned) << Utf8(LastError());
  EXPECT_EQ(ret.Receipt(), u"000001");
  EXPECT_TRUE(ret.SlipIs({u"ВОЗВРАТ ОПЛАТЫ", {}, u"300.5 Руб", u"000001", kMasked, true}));

  // Kopecks are rounded half to even; the host gets the four-place amount back.
  const CardResult auth = Card(u"ПреавторизацияПоПлатежнойКарте", u"5469550011112222", 2000.125, u"");
  ASSERT_TRUE(auth.returned) << Utf8(LastError());
  EXPECT_EQ(auth.params[2], HostValue(2000.125));
  EXPECT_EQ(auth.Text(4), u"000000000002");
  EXPECT_TRUE(auth.SlipIs({u"ПРЕАВТОРИЗАЦИЯ", {}, u"2000.125 Руб", u"000002", u"************2222", true}));

  EXPECT_EQ(host->Questions(), (std::vector<std::u16string>{u"ВОЗВРАТ ОПЛАТЫ: 300.5 руб.\r\nОдобрить операцию?",
                                                            u"ПРЕАВТОРИЗАЦИЯ: 2000.125 руб.\r\nОдобрить операцию?"}));
  EXPECT_EQ(StoredRows(), (std::vector<Stored>{{1, 30050, 1, kCard}, {2, 200012, 2, u"5469550011112222"}}));
}

TEST_F(NewOperationTest, AmountOfZeroOrLessIsLeftOutOfTheQuestionButStored) {
  Dialogs(true);
  host->SetDefaultAnswer(MsgBoxAnswer::Yes);
  const CardResult zero = Pay(kCard, 0);
  const CardResult negative = Pay(kCard, -5);
  ASSERT_TRUE(zero.returned && negative.returned) << Utf8(LastError());
  EXPECT_EQ(host->Questions(), (std::vector<std::u16string>{u"ОПЛАТА\r\nОдобрить операцию?",
                                                            u"ОПЛАТА\r\nОдобрить операцию?"}));
  EXPECT_TRUE(zero.SlipIs({u"ОПЛАТА", {}, {}, u"000001", kMasked, true})) << "no amount line for 0";
  EXPECT_TRUE(negative.SlipIs({u"ОПЛАТА", {}, u"-5 Руб", u"000002", kMasked, true}));
  EXPECT_EQ(StoredRows(), (std::vector<Stored>{{1, 0, 0, kCard}, {2, -500, 0, kCard}}));
}

TEST_F(NewOperationTest, AmountWhoseKopecksDoNotFitTheJournalFailsAndStoresNothing) {
  for (double amount : {21474836.48, -21474836.49, 1e12}) {
    const CardResult r = Pay(kCard, amount);
    EXPECT_FALSE(r.returned) << amount;
    EXPECT_EQ(LastError(), u"Сумма операции вне допустимого диапазона") << amount;
    EXPECT_EQ(r.Receipt(), u"") << "nothing is numbered";
    EXPECT_EQ(r.params[1], HostValue(kMasked)) << "the card still comes back masked";
  }
  EXPECT_TRUE(StoredRows().empty());
  // The extremes that fit are stored exactly.
  EXPECT_TRUE(Pay(kCard, 21474836.47).returned);
  EXPECT_TRUE(Pay(kCard, -21474836.48).returned);
  EXPECT_EQ(StoredRows(), (std::vector<Stored>{{1, 2147483647LL, 0, kCard}, {2, -2147483648LL, 0, kCard}}));
}

TEST_F(NewOperationTest, CardTextWithQuotesAndSqlIsStoredLiterally) {
  const std::u16string card = u"12\"34'56\"); DROP TABLE journal;--7890";
  const CardResult r = Pay(card, 10);
  ASSERT_TRUE(r.returned) << Utf8(LastError());
  EXPECT_EQ(r.params[1], HostValue(std::u16string(card.size() - 4, u'*') + u"7890"));
  EXPECT_EQ(Pay(kCard, 11).Receipt(), u"000002");
  EXPECT_EQ(StoredRows(), (std::vector<Stored>{{1, 1000, 0, card}, {2, 1100, 0, kCard}}));
}

TEST_F(NewOperationTest, QuestionTheHostCannotShowFailsTheOperation) {
  Dialogs(true);
  host->SetDefaultAnswer(MsgBoxAnswer::CannotShow);
  const CardResult r = Pay(kCard, 100);
  EXPECT_FALSE(r.returned);
  EXPECT_EQ(LastError(), u"Could not display dialog box");
  EXPECT_EQ(r.Slip(), u"");
  EXPECT_TRUE(StoredRows().empty());
}

TEST_F(NewOperationTest, LineLengthSetsTheSlipWidth) {
  ASSERT_TRUE(driver->SetProp(u"ДлинаСтроки", HostValue(40)));
  const CardResult r = Pay(kCard, 1);
  ASSERT_TRUE(r.returned);
  const std::u16string slip = r.Slip();
  EXPECT_EQ(slip.substr(0, 42), std::u16string(40, u'=') + u"\r\n");
  EXPECT_NE(slip.find(u"Номер чека:" + Sp(23) + u"000001\r\n"), std::u16string::npos);
}

}  // namespace
}  // namespace qarvex::testing
