// The terminal across a day and across driver objects: settlement with its
// report, the shared journal, and operations on a driver that is not
// connected.
#include "e2e_terminal/terminal_fixture.h"

namespace qarvex::testing {
namespace {

class DayTest : public TerminalTest {
 protected:
  // Settlement with its text slot holding "untouched" beforehand.
  bool Settle(Component& c, std::vector<HostValue>& params) {
    params = {HostValue(u"dev"), HostValue(u"untouched")};
    return Call(c, u"ИтогиДняПоКартам", params);
  }
};

// "yyyymmddhhnnss" as the report writes it: dd/mm/yy hh:mm:ss.
std::u16string ReportDate(const std::string& edate) {
  const std::string text = edate.substr(6, 2) + "/" + edate.substr(4, 2) + "/" + edate.substr(2, 2) + " " +
                           edate.substr(8, 2) + ":" + edate.substr(10, 2) + ":" + edate.substr(12, 2);
  return U16(text);
}

TEST_F(DayTest, SettlementReportsTheDayThenEmptiesTheJournalSoNumberingRestarts) {
  ASSERT_TRUE(Pay(u"4276380012345678", 100).returned);
  ASSERT_TRUE(Card(u"ВернутьПлатежПоПлатежнойКарте", u"5469", 30).returned);
  ASSERT_TRUE(Card(u"ПреавторизацияПоПлатежнойКарте", u"", 50.5).returned);
  const std::vector<Row> rows = Rows();
  ASSERT_EQ(rows.size(), 3u);

  Dialogs(true);  // settlement asks nothing
  std::vector<HostValue> params;
  CallTime time;
  ASSERT_TRUE(Settle(*driver, params)) << Utf8(LastError());
  time.End();
  EXPECT_TRUE(host->Questions().empty());

  const std::u16string light(32, u'-');
  const auto entry = [&](const Row& row, const std::u16string& title, const std::u16string& amount) {
    return L(light) + L(Center(title)) + L(Label(u"Дата:", ReportDate(row.edate))) + L(Label(u"Сумма:", amount)) +
           L(Label(u"Номер чека:", u"00000" + std::u16string(1, u'0' + row.id))) + L(Label(u"Карта:", row.card));
  };
  const auto report = [&](const std::u16string& now) {
    return L(std::u16string(32, u'=')) + L(Center(u"СВЕРКА")) + L(Center(now)) + L(u"") +
           entry(rows[0], u"ОПЛАТА", u"100 Руб") + entry(rows[1], u"ВОЗВРАТ ОПЛАТЫ", u"30 Руб") +
           entry(rows[2], u"ПРЕАВТОРИЗАЦИЯ", u"50.5 Руб") + L(u"") + L(Label(u"ИТОГ:", u"120.5 Руб")) +
           L(std::u16string(32, u'='));
  };
  const std::u16string text = params[1].AsText();
  EXPECT_TRUE(time.Matches(text, report)) << "unexpected settlement report";
  EXPECT_NE(text.find(u"Карта:" + Sp(26) + u"\r\n"), std::u16string::npos) << "an empty card gives the label alone";
  EXPECT_TRUE(Rows().empty());
  Dialogs(false);
  EXPECT_EQ(Pay(kCard, 1).Receipt(), u"000001") << "numbering starts again at 1";
}

TEST_F(DayTest, SettlementOfAnEmptyJournalGivesTheShortReport) {
  std::vector<HostValue> params;
  CallTime time;
  ASSERT_TRUE(Settle(*driver, params)) << Utf8(LastError());
  time.End();
  const auto expected = [](const std::u16string& now) {
    return L(std::u16string(32, u'=')) + L(Center(u"СВЕРКА")) + L(Label(u"Дата:", now)) +
           L(u"Журнал транзакций пуст" + Sp(10)) + L(std::u16string(32, u'='));
  };
  const std::u16string text = params[1].AsText();
  EXPECT_TRUE(time.Matches(text, expected));
}

TEST_F(DayTest, TwoDriverObjectsSeeEachOthersOperations) {
  auto second = Ready(u"qarvex_termemu");
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(Connect(*second));
  EXPECT_EQ(Pay(kCard, 1).Receipt(), u"000001");
  EXPECT_EQ(Pay(kCard, 2, second.get()).Receipt(), u"000002");
  EXPECT_TRUE(Card(u"ОтменитьПлатежПоПлатежнойКарте", kCard, 1, u"000001", second.get()).returned);
  EXPECT_TRUE(Card(u"ЗавершитьПреавторизациюПоПлатежнойКарте", kCard, 2, u"000002").returned);
  EXPECT_FALSE(Card(u"ОтменитьПлатежПоПлатежнойКарте", kCard, 1, u"000001").returned);
  EXPECT_EQ(LastError(), u"Транзакция не найдена");
  EXPECT_EQ(StoredRows(), (std::vector<Stored>{{2, 200, 0, kCard}}));
  std::vector<HostValue> params;
  EXPECT_TRUE(Settle(*second, params));
  EXPECT_EQ(Pay(kCard, 3).Receipt(), u"000001");
}

TEST_F(DayTest, OperationsNeedingTheJournalFailWhileNotConnected) {
  auto idle = Ready(u"qarvex_termemu");  // never connected
  ASSERT_NE(idle, nullptr);
  ASSERT_TRUE(Pay(kCard, 5).returned);  // through the connected object
  const std::u16string notConnected = u"Терминал не подключен";

  const CardResult pay = Pay(kCard, 10, idle.get());
  EXPECT_FALSE(pay.returned);
  EXPECT_EQ(LastError(idle.get()), notConnected);
  EXPECT_EQ(pay.params[1], HostValue(kMasked));
  EXPECT_FALSE(Card(u"ОтменитьПлатежПоПлатежнойКарте", kCard, 5, u"1", idle.get()).returned);
  EXPECT_EQ(LastError(idle.get()), notConnected);
  EXPECT_FALSE(Card(u"ЗавершитьПреавторизациюПоПлатежнойКарте", kCard, 5, u"1", idle.get()).returned);
  EXPECT_EQ(LastError(idle.get()), notConnected);
  EXPECT_FALSE(Reversal(idle.get()));
  EXPECT_EQ(LastError(idle.get()), notConnected);
  std::vector<HostValue> params;
  EXPECT_FALSE(Settle(*idle, params));
  EXPECT_EQ(LastError(idle.get()), notConnected);
  EXPECT_EQ(params[1], HostValue(u"untouched"));

  // A declined new operation does not need the journal.
  Dialogs(true, idle.get());
  host->ScriptAnswers({MsgBoxAnswer::No});
  const CardResult declined = Pay(kCard, 10, idle.get());
  EXPECT_TRUE(declined.returned) << Utf8(LastError(idle.get()));
  EXPECT_EQ(declined.Receipt(), u"000000");
  EXPECT_TRUE(declined.SlipIs({u"ОПЛАТА", {}, u"10 Руб", u"000000", kMasked, false}));

  EXPECT_EQ(StoredRows(), (std::vector<Stored>{{1, 500, 0, kCard}})) << "nothing changed the journal";
}

TEST_F(DayTest, DisconnectReleasesTheJournalAndConnectingAgainRestoresIt) {
  ASSERT_TRUE(Pay(kCard, 1).returned);
  ASSERT_TRUE(Disconnect(*driver));
  EXPECT_FALSE(Pay(kCard, 2).returned);
  EXPECT_EQ(LastError(), u"Терминал не подключен");
  ASSERT_TRUE(Connect(*driver));
  ASSERT_TRUE(Connect(*driver)) << "connecting twice replaces the journal object";
  EXPECT_EQ(Pay(kCard, 3).Receipt(), u"000002");
  EXPECT_EQ(StoredRows().size(), 2u);
}

TEST_F(DayTest, PanelWithoutADisplayIsRefusedAndSlipsAreNotPrintedOnTheTerminal) {
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  const std::u16string refusal =
      u"The additional operations panel window cannot be shown: no display can be opened "
      u"(neither DISPLAY nor WAYLAND_DISPLAY is set)";
  std::vector<HostValue> action{HostValue(u"ShowAdditionalOperationPanel")};
  EXPECT_FALSE(Call(*driver, u"ВыполнитьДополнительноеДействие", action));
  EXPECT_EQ(LastError(), refusal);
  std::vector<HostValue> none;
  EXPECT_FALSE(Call(*driver, u"ПечатьКвитанцийНаТерминале", none));
  EXPECT_EQ(LastError(), refusal) << "the question leaves the last error alone";
}

}  // namespace
}  // namespace qarvex::testing
