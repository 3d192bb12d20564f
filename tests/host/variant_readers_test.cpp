// Reading host variants: the conversions every driver method relies on to
// read its parameters.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "common/datetime.h"
#include "common/error.h"
#include "host/v8variant.h"
#include "platform/regional_settings.h"

namespace qarvex::host {
namespace {

V8Variant Int(std::int32_t v) {
  V8Variant x{};
  x.vt = VTYPE_I4;
  x.lVal = v;
  return x;
}
V8Variant Real(double v) {
  V8Variant x{};
  x.vt = VTYPE_R8;
  x.dblVal = v;
  return x;
}
V8Variant Bool(bool v) {
  V8Variant x{};
  x.vt = VTYPE_BOOL;
  x.bVal = v;
  return x;
}
// The text is kept alive by the caller.
V8Variant Text(const char16_t* v) {
  V8Variant x{};
  x.vt = VTYPE_PWSTR;
  x.vtRecWideString.pwstrVal = const_cast<char16_t*>(v);
  x.vtRecWideString.wstrLen = static_cast<std::uint32_t>(std::char_traits<char16_t>::length(v));
  return x;
}
V8Variant Tm(int year, int mon, int mday, int hour, int min, int sec) {
  V8Variant x{};
  x.vt = VTYPE_TM;
  x.tmVal.tm_year = year;
  x.tmVal.tm_mon = mon;
  x.tmVal.tm_mday = mday;
  x.tmVal.tm_hour = hour;
  x.tmVal.tm_min = min;
  x.tmVal.tm_sec = sec;
  return x;
}

class RegionalFixture : public ::testing::Test {
 protected:
  void TearDown() override { platform::OverrideRegionalSettings(std::nullopt); }
  void UseSeparators(char16_t decimal, char16_t date = u'.', char16_t time = u':') {
    platform::OverrideRegionalSettings(platform::RegionalSettings{decimal, date, time});
  }
};

TEST(V8Readers, IntegerReadingTruncatesAndParsesOnlyWholeNumbers) {
  auto a = Real(2.9), b = Real(-2.9), c = Bool(true);
  auto d = Text(u"42"), e = Text(u"4.2"), f = Text(u"");
  EXPECT_EQ(V8AsInt(&a), 2);
  EXPECT_EQ(V8AsInt(&b), -2);
  EXPECT_EQ(V8AsInt(&c), 0);  // a Boolean is not a number
  EXPECT_EQ(V8AsInt(&d), 42);
  EXPECT_EQ(V8AsInt(&e), 0);
  EXPECT_EQ(V8AsInt(&f), 0);
}

TEST(V8Readers, IntegerReadingOfOutOfRangeRealsSaturatesInsteadOfOverflowing) {
  auto big = Real(1e20), small = Real(-1e20), nan = Real(std::nan(""));
  EXPECT_EQ(V8AsInt(&big), 2147483647);
  EXPECT_EQ(V8AsInt(&small), -2147483647 - 1);
  EXPECT_EQ(V8AsInt(&nan), 0);
}

TEST(V8Readers, OtherIntegerTypesAndFlagBitsAreRead) {
  V8Variant shortV{}, byteV{}, flagged = Int(7);
  shortV.vt = VTYPE_I2;
  shortV.shortVal = -5;
  byteV.vt = VTYPE_UI1;
  byteV.ui8Val = 200;
  flagged.vt |= 0x2000;  // flags above the type code are ignored
  EXPECT_EQ(V8AsInt(&shortV), -5);
  EXPECT_EQ(V8AsInt(&byteV), 200);
  EXPECT_EQ(V8AsInt(&flagged), 7);
}

TEST(V8Readers, BooleanReadingTreatsNonZeroNumbersAsTrue) {
  auto five = Int(5), zero = Int(0), one = Text(u"1"), abc = Text(u"abc"), f = Bool(false);
  EXPECT_TRUE(V8AsBool(&five));
  EXPECT_FALSE(V8AsBool(&zero));
  EXPECT_TRUE(V8AsBool(&one));
  EXPECT_FALSE(V8AsBool(&abc));
  EXPECT_FALSE(V8AsBool(&f));
}

TEST_F(RegionalFixture, RealReadingOfTextFollowsTheRegionalDecimalSeparator) {
  auto comma = Text(u"2,5"), dot = Text(u"2.5");
  UseSeparators(u',');
  EXPECT_DOUBLE_EQ(V8AsDouble(&comma), 2.5);
  EXPECT_EQ(V8AsDouble(&dot), 0);
  UseSeparators(u'.');
  EXPECT_EQ(V8AsDouble(&comma), 0);
  EXPECT_DOUBLE_EQ(V8AsDouble(&dot), 2.5);
}

TEST(V8Readers, DateReadingAcceptsRealsDatesAndBrokenDownTimes) {
  auto tm = Tm(124, 0, 31, 10, 20, 30);
  EXPECT_DOUBLE_EQ(V8AsDate(&tm), EncodeDateTime({2024, 1, 31, 10, 20, 30, 0}));
  V8Variant date{};
  date.vt = VTYPE_DATE;
  date.date = 45000.25;
  EXPECT_DOUBLE_EQ(V8AsDate(&date), 45000.25);
  auto text = Text(u"45000");
  EXPECT_EQ(V8AsDate(&text), 0);
}

TEST(V8Readers, ImpossibleBrokenDownTimeIsAFailure) {
  auto feb30 = Tm(124, 1, 30, 0, 0, 0), hour25 = Tm(124, 0, 1, 25, 0, 0), negative = Tm(-2000, 0, 1, 0, 0, 0);
  EXPECT_THROW(V8AsDate(&feb30), Failure);
  EXPECT_THROW(V8AsDate(&hour25), Failure);
  EXPECT_THROW(V8AsDate(&negative), Failure);
}

// Fields at the ends of the int range are cut to 16 bits before the year and
// month offsets are added (no signed overflow); the sums wrap in 16 bits as
// before, and what they name is judged like any other date.
TEST(V8Readers, BrokenDownTimeFieldsAtTheIntLimitsAreCutBeforeAdding) {
  constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
  for (auto tm : {Tm(124, kMax, 1, 0, 0, 0), Tm(kMin, kMin, kMin, kMin, kMin, kMin),
                  Tm(kMax, kMax, kMax, kMax, kMax, kMax), Tm(124, 0, 1, kMax, 0, 0)}) {
    EXPECT_THROW(V8AsDate(&tm), Failure);
    EXPECT_THROW(V8ToStr(&tm), Failure);
  }
  // 0x7FFFFFFF + 1900 keeps 1899 in its low 16 bits.
  auto yearMax = Tm(kMax, 0, 1, 0, 0, 0);
  EXPECT_DOUBLE_EQ(V8AsDate(&yearMax), EncodeDateTime({1899, 1, 1, 0, 0, 0, 0}));
  auto wrapped = Tm(65536 + 124, 65536, 65536 + 31, 65536 + 10, 20, 30);
  EXPECT_DOUBLE_EQ(V8AsDate(&wrapped), EncodeDateTime({2024, 1, 31, 10, 20, 30, 0}));
  auto before1900 = Tm(-1, 11, 31, 0, 0, 0);
  EXPECT_DOUBLE_EQ(V8AsDate(&before1900), EncodeDateTime({1899, 12, 31, 0, 0, 0, 0}));
}

TEST(V8Readers, TextReadingStopsAtTheTerminatorAndIgnoresByteText) {
  char16_t buffer[] = u"abc\0def";
  auto text = Text(buffer);
  text.vtRecWideString.wstrLen = 7;  // the length is not consulted
  EXPECT_EQ(V8AsWString(&text), u"abc");

  char bytes[] = "abc";
  V8Variant ansi{};
  ansi.vt = VTYPE_PSTR;
  ansi.vtRecString.pstrVal = bytes;
  ansi.vtRecString.strLen = 3;
  EXPECT_TRUE(V8IsString(&ansi));
  EXPECT_EQ(V8AsWString(&ansi), u"");
  EXPECT_EQ(V8AsPWideChar(&ansi), nullptr);

  V8Variant nullText{};
  nullText.vt = VTYPE_PWSTR;
  EXPECT_EQ(V8AsWString(&nullText), u"");
}

}  // namespace
}  // namespace qarvex::host
