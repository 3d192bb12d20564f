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

// ASCII goes eight units at a time: every position of a wider character
// relative to those blocks, and a pair split across two of them.
TEST(Utf8, WideCharactersAtEveryPlaceOfALongAsciiText) {
  for (size_t at = 0; at <= 17; ++at) {
    const WString text = WString(at, u'a') + u"Ж" + WString(17 - at, u'b');
    EXPECT_EQ(ToUtf8(text), std::string(at, 'a') + "\xD0\x96" + std::string(17 - at, 'b')) << at;
  }
  EXPECT_EQ(ToUtf8(WString(7, u'x') + u"\U0001F4B3" + WString(9, u'y')),
            std::string(7, 'x') + "\xF0\x9F\x92\xB3" + std::string(9, 'y'));
  EXPECT_EQ(ToUtf8(WString(15, u'z') + WString(1, char16_t(0xD83D))), std::string(15, 'z') + "\xEF\xBF\xBD");
}

// Appending keeps what the buffer held, whether the text is all ASCII, starts
// with a wide character, or switches after an ASCII run.
TEST(Utf8, AppendingAddsExactlyTheConversionAfterWhatWasThere) {
  for (const WString& text : {WString(u"plain ascii"), WString(u"Ж first"), WString(u"tail Жж \U0001F4B3 end"),
                              WString(), WString(u"ascii then lone ") + char16_t(0xDC00)}) {
    std::string out = "kept:";
    AppendUtf8(out, text);
    EXPECT_EQ(out, "kept:" + ToUtf8(text));
  }
  std::string out = "kept:";
  AppendUtf8(out, u"ab Ж\U0001F4B3");
  EXPECT_EQ(out, "kept:ab \xD0\x96\xF0\x9F\x92\xB3");
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
  EXPECT_EQ(IntToText(-9223372036854775807LL - 1), u"-9223372036854775808");
  WString line = u"at ";
  AppendIntText(line, 7, 2);
  EXPECT_EQ(line, u"at 07");
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
