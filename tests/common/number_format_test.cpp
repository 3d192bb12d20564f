#include <gtest/gtest.h>

#include "common/error.h"
#include "common/number_format.h"

namespace qarvex {
namespace {

TEST(FormatGeneral, DropsTrailingZerosAndUsesTheGivenSeparator) {
  EXPECT_EQ(FormatGeneral(1500, u','), u"1500");
  EXPECT_EQ(FormatGeneral(99.9, u','), u"99,9");
  EXPECT_EQ(FormatGeneral(100.5, u'.'), u"100.5");
  EXPECT_EQ(FormatGeneral(-0.25, u'.'), u"-0.25");
  EXPECT_EQ(FormatGeneral(0.0, u'.'), u"0");
  EXPECT_EQ(FormatGeneral(123456789012345.0, u'.'), u"123456789012345");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2, u'.'), u"0.3");  // 15 significant digits
}

TEST(FormatGeneral, SwitchesToScientificOnlyForExtremeMagnitudes) {
  EXPECT_EQ(FormatGeneral(1e15, u'.'), u"1E+15");
  EXPECT_EQ(FormatGeneral(0.00001, u'.'), u"0.00001");
  EXPECT_EQ(FormatGeneral(0.000001, u','), u"1E-06");
}

TEST(TryParseReal, FollowsTheDecimalSeparator) {
  double v = 0;
  EXPECT_TRUE(TryParseReal(u"2,5", u',', v));
  EXPECT_DOUBLE_EQ(v, 2.5);
  EXPECT_FALSE(TryParseReal(u"2.5", u',', v));
  EXPECT_TRUE(TryParseReal(u" -1.25e2 ", u'.', v));
  EXPECT_DOUBLE_EQ(v, -125);
  EXPECT_TRUE(TryParseReal(u"+7", u'.', v));
  EXPECT_DOUBLE_EQ(v, 7);
  EXPECT_FALSE(TryParseReal(u"", u'.', v));
  EXPECT_FALSE(TryParseReal(u"abc", u'.', v));
  EXPECT_FALSE(TryParseReal(u"1 000", u'.', v));
}

TEST(Currency, RoundsToFourDecimalsTiesToEven) {
  EXPECT_EQ(DoubleToCurrency(100.5), 1005000);
  EXPECT_EQ(DoubleToCurrency(1.23456), 12346);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(DoubleToCurrency(-2.5), -25000);
  EXPECT_THROW(DoubleToCurrency(1e300), Failure);
  EXPECT_DOUBLE_EQ(CurrencyToDouble(12346), 1.2346);
}

TEST(Currency, FormatsInGeneralForm) {
  EXPECT_EQ(FormatCurrency(1005000, u','), u"100,5");
  EXPECT_EQ(FormatCurrency(15000000, u','), u"1500");
  EXPECT_EQ(FormatCurrency(-300000, u'.'), u"-30");
  EXPECT_EQ(FormatCurrency(1, u'.'), u"0.0001");
  EXPECT_EQ(FormatCurrency(0, u'.'), u"0");
}

}  // namespace
}  // namespace qarvex
