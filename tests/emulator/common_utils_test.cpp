#include <gtest/gtest.h>

#include "emulator/uCommonUtils.h"
#include "platform/regional_settings.h"

namespace qarvex::emulator {
namespace {

WString Spaces(int n) { return WString(static_cast<size_t>(n), u' '); }

TEST(CenterText, ShortTextsGetTheOddSpaceAfterThem) {
  EXPECT_EQ(CenterText(u"ОПЛАТА", 32), Spaces(13) + u"ОПЛАТА" + Spaces(13));
  EXPECT_EQ(CenterText(u"ОТКЛОНЕНО", 32), Spaces(11) + u"ОТКЛОНЕНО" + Spaces(12));
  EXPECT_EQ(CenterText(u"ВОЗВРАТ ОПЛАТЫ", 32), Spaces(9) + u"ВОЗВРАТ ОПЛАТЫ" + Spaces(9));
  EXPECT_EQ(CenterText(u"31.01.24 23:59:58", 18), u"31.01.24 23:59:58 ");
  EXPECT_EQ(CenterText(u"ОТЧЕТ", 5), u"ОТЧЕТ");
  // Surrounding blanks and control characters do not count.
  EXPECT_EQ(CenterText(u" \t ОПЛАТА\r\n ", 8), u" ОПЛАТА ");
}

TEST(CenterText, LongTextsLoseCharactersAtBothEndsTheOddOneAtTheEnd) {
  EXPECT_EQ(CenterText(u"ПРЕАВТОРИЗАЦИЯ", 10), u"ЕАВТОРИЗАЦ");  // characters 3 to 12
  EXPECT_EQ(CenterText(u"ПРЕАВТОРИЗАЦИЯ", 9), u"ЕАВТОРИЗА");    // characters 3 to 11
  EXPECT_EQ(CenterText(u"ABC", 1), u"B");
}

TEST(CenterText, WidthsOfZeroOrLessGiveEmptyLinesAndLargeWidthsFillTheLine) {
  EXPECT_EQ(CenterText(u"ОПЛАТА", 0), u"");
  EXPECT_EQ(CenterText(u"ОПЛАТА", -3), u"");
  EXPECT_EQ(CenterText(u"", -1), u"");
  EXPECT_EQ(CenterText(u"", 4), Spaces(4));
  const WString wide = CenterText(u"СВЕРКА", 300);
  EXPECT_EQ(wide.size(), 300u);
  EXPECT_EQ(wide, Spaces(147) + u"СВЕРКА" + Spaces(147));
}

TEST(FormatLabelLine, LabelLeftValueRightFillerBetween) {
  EXPECT_EQ(FormatLabelLine(u"Сумма:", u"100,5 Руб", 32), u"Сумма:" + Spaces(17) + u"100,5 Руб");
  EXPECT_EQ(FormatLabelLine(u"Карта:", u"************9012", 32), u"Карта:" + Spaces(10) + u"************9012");
  EXPECT_EQ(FormatLabelLine(u"Журнал транзакций пуст", u"", 32), u"Журнал транзакций пуст" + Spaces(10));
  EXPECT_EQ(FormatLabelLine(u"ab", u"9", 6, u'.'), u"ab...9");
  EXPECT_EQ(FormatLabelLine(u"Номер чека:", u"000001", 300).size(), 300u);
}

TEST(FormatLabelLine, TooLongPartsAreCutToTheWidth) {
  // The label is cut to the room the value leaves.
  EXPECT_EQ(FormatLabelLine(u"Номер чека:", u"000001", 10), u"Номе000001");
  // A value of the full width or more takes the line; the label disappears.
  const WString value32(32, u'7');
  EXPECT_EQ(FormatLabelLine(u"Карта:", value32, 32), value32);
  EXPECT_EQ(FormatLabelLine(u"Карта:", value32 + u"89", 32), value32);
  EXPECT_EQ(FormatLabelLine(u"Журнал транзакций пуст", u"", 9), u"Журнал тр");
  EXPECT_EQ(FormatLabelLine(u"Карта:", u"1", 0), u"");
  EXPECT_EQ(FormatLabelLine(u"Карта:", u"1", -2), u"");
}

class RegionalTexts : public ::testing::Test {
 protected:
  void TearDown() override { platform::OverrideRegionalSettings(std::nullopt); }
};

TEST_F(RegionalTexts, DatesUseTheUserDateAndTimeSeparators) {
  const TDateTime when = EncodeDateTime({2024, 1, 31, 23, 59, 58, 0});
  platform::OverrideRegionalSettings(platform::RegionalSettings{u',', u'.', u':'});
  EXPECT_EQ(SlipDateText(when), u"31.01.24 23:59:58");
  platform::OverrideRegionalSettings(platform::RegionalSettings{u'.', u'-', u'.'});
  EXPECT_EQ(SlipDateText(EncodeDateTime({2007, 3, 4, 5, 6, 7, 999})), u"04-03-07 05.06.07");
}

TEST_F(RegionalTexts, AmountsUseTheUserDecimalSeparatorAndTheRoubleSuffix) {
  platform::OverrideRegionalSettings(platform::RegionalSettings{u',', u'.', u':'});
  EXPECT_EQ(SlipAmountText(1005000), u"100,5 Руб");
  EXPECT_EQ(SlipAmountText(15000000), u"1500 Руб");
  EXPECT_EQ(SlipAmountText(0), u"0 Руб");
  EXPECT_EQ(SlipAmountText(-3000), u"-0,3 Руб");
  EXPECT_EQ(SlipAmountText(1234567890123456), u"123456789012,346 Руб");  // 15 significant digits
  platform::OverrideRegionalSettings(platform::RegionalSettings{u'.', u'/', u':'});
  EXPECT_EQ(SlipAmountText(999000), u"99.9 Руб");
}

TEST(ReceiptNumberText, PadsToSixDigitsWithoutCuttingLongerNumbers) {
  EXPECT_EQ(ReceiptNumberText(0), u"000000");
  EXPECT_EQ(ReceiptNumberText(1), u"000001");
  EXPECT_EQ(ReceiptNumberText(1234567), u"1234567");
}

}  // namespace
}  // namespace qarvex::emulator
