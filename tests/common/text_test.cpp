#include <gtest/gtest.h>

#include "common/error.h"
#include "common/text.h"

namespace qarvex {
namespace {

TEST(Utf8, RoundTripsCyrillicAstralAndAscii) {
  const WString text = u"Оплата 100 \U0001F4B3 ok";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(ToUtf8(u"Ж"), "\xD0\x96");
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(FromUtf8("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(FromUtf8("\xD0"), u"\uFFFD");             // truncated sequence
  EXPECT_EQ(ToUtf8(WString(1, char16_t(0xD800))), "\xEF\xBF\xBD");  // lone surrogate
}

TEST(Trim, RemovesBlanksAndControlCharactersAtBothEndsOnly) {
  EXPECT_EQ(TrimBlanksAndControls(u" \t> GetVersion\r\n"), u"> GetVersion");
  EXPECT_EQ(TrimBlanksAndControls(u"   "), u"");
}

TEST(IntToText, PadsLikePrintfPrecision) {
  EXPECT_EQ(IntToText(1, 6), u"000001");
  EXPECT_EQ(IntToText(1, 12), u"000000000001");
  EXPECT_EQ(IntToText(1234567, 6), u"1234567");
  EXPECT_EQ(IntToText(-5, 3), u"-005");
  EXPECT_EQ(IntToText(0), u"0");
}

TEST(TryParseInt32, AcceptsOnlyWholeSignedDecimalNumbersInRange) {
  int v = 0;
  EXPECT_TRUE(TryParseInt32(u"000042", v));
  EXPECT_EQ(v, 42);
  EXPECT_TRUE(TryParseInt32(u"-2147483648", v));
  EXPECT_EQ(v, -2147483647 - 1);
  EXPECT_FALSE(TryParseInt32(u"2147483648", v));
  EXPECT_FALSE(TryParseInt32(u"", v));
  EXPECT_FALSE(TryParseInt32(u"-", v));
  EXPECT_FALSE(TryParseInt32(u"4.2", v));
  EXPECT_FALSE(TryParseInt32(u"12a", v));
  EXPECT_FALSE(TryParseInt32(u"99999999999999999999", v));
}

TEST(MessageOf, GivesUtf16TextAndAFallbackForEmptyMessages) {
  EXPECT_EQ(MessageOf(Failure(u"Транзакция не найдена")), u"Транзакция не найдена");
  EXPECT_EQ(MessageOf(std::runtime_error("")), kNoMessageText);
  try {
    throw 42;
  } catch (...) {
    EXPECT_EQ(MessageOfCurrentException(), kNoMessageText);
  }
}

}  // namespace
}  // namespace qarvex
