// Line widths too wide to lay a slip or report out to: every operation that
// would lay one out is refused with the width and the bound in its message,
// before it asks the cashier or touches the journal; the widths of ordinary
// use keep working, and the property still takes any integer.
#include "e2e_terminal/terminal_fixture.h"

namespace qarvex::testing {
namespace {

constexpr int kBound = 10000;  // the widest line the terminal lays out

class WideLinesTest : public TerminalTest {
 protected:
  void SetWidth(int width) { ASSERT_TRUE(driver->SetProp(u"ДлинаСтроки", HostValue(width))); }

  static std::u16string Refusal(int width) {
    return u"Ширина строки " + U16(std::to_string(width)) + u" больше допустимой: не более " +
           U16(std::to_string(kBound)) + u" символов";
  }
};

TEST_F(WideLinesTest, EveryLayingOutOperationIsRefusedBeforeItAsksOrTouchesTheJournal) {
  ASSERT_TRUE(Pay(kCard, 100).returned);
  ASSERT_TRUE(Card(u"ПреавторизацияПоПлатежнойКарте", kCard, 50).returned);
  const auto before = Rows();
  Dialogs(true);
  host->SetDefaultAnswer(MsgBoxAnswer::Yes);

  for (int width : {kBound + 1, 100000, 2147483647}) {
    SetWidth(width);
    for (const char16_t* method : {u"ОплатитьПлатежнойКартой", u"ВернутьПлатежПоПлатежнойКарте",
                                   u"ПреавторизацияПоПлатежнойКарте", u"ОтменитьПлатежПоПлатежнойКарте",
                                   u"ОтменитьПреавторизациюПоПлатежнойКарте",
                                   u"ЗавершитьПреавторизациюПоПлатежнойКарте"}) {
      const CardResult r = Card(method, kCard, 10, u"1");
      EXPECT_FALSE(r.returned) << Utf8(method) << " at " << width;
      EXPECT_EQ(LastError(), Refusal(width)) << Utf8(method);
      EXPECT_EQ(r.Receipt(), u"1") << "the receipt number comes back as sent";
      EXPECT_EQ(r.Slip(), u"");
    }
    std::vector<HostValue> settle{HostValue(u"dev"), HostValue(u"untouched")};
    EXPECT_FALSE(Call(*driver, u"ИтогиДняПоКартам", settle));
    EXPECT_EQ(LastError(), Refusal(width));
    EXPECT_EQ(settle[1], HostValue(u"untouched"));
  }
  EXPECT_TRUE(host->Questions().empty()) << "nothing was asked";
  EXPECT_EQ(Rows(), before) << "nothing was stored, deleted or cleared";
  EXPECT_TRUE(host->Memory().faults.empty()) << host->Memory().Describe();

  // The emergency reversal lays nothing out and is not refused.
  EXPECT_TRUE(Reversal());
  EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(WideLinesTest, TheBoundItselfAndOrdinaryWidthsAreLaidOutAndThePropertyKeepsAnyInteger) {
  for (int width : {300, kBound}) {
    SetWidth(width);
    const CardResult r = Pay(kCard, 1);
    ASSERT_TRUE(r.returned) << width << ": " << Utf8(LastError());
    const std::u16string rule = std::u16string(static_cast<size_t>(width), u'=') + u"\r\n";
    EXPECT_EQ(r.Slip().substr(0, rule.size()), rule);
    const size_t block = 8 * (static_cast<size_t>(width) + 2) + 2 * 2;  // eight full lines, two empty
    EXPECT_EQ(r.Slip().size(), 2 * block + 7) << "two blocks and the [cut] line";
  }
  for (int width : {0, -5}) {
    SetWidth(width);
    const CardResult r = Pay(kCard, 1);
    ASSERT_TRUE(r.returned) << width;
    EXPECT_EQ(r.Slip().substr(0, 4), u"\r\n\r\n") << "an empty rule and an empty title";
  }
  for (int width : {2147483647, -2147483647 - 1}) {
    SetWidth(width);
    EXPECT_EQ(driver->GetProp(u"ДлинаСтроки").value, HostValue(width));
  }
  EXPECT_EQ(Rows().size(), 4u);
}

}  // namespace
}  // namespace qarvex::testing
