// C-syntax numbers read the same whichever C++ library the build links
// (from_chars, or strtod in a locale of its own).
#include <gtest/gtest.h>

#include <string_view>

#include "common/c_number.h"

namespace qarvex {
namespace {

TEST(ParseCNumber, TakesWhatFromCharsTakes) {
  double v = 0;
  ASSERT_TRUE(ParseCNumber("1500", v));
  EXPECT_EQ(v, 1500.0);
  ASSERT_TRUE(ParseCNumber("-0.25", v));
  EXPECT_EQ(v, -0.25);
  ASSERT_TRUE(ParseCNumber("1.25e2", v));
  EXPECT_EQ(v, 125.0);
  ASSERT_TRUE(ParseCNumber(".5", v));
  EXPECT_EQ(v, 0.5);
  ASSERT_TRUE(ParseCNumber("0.1", v));
  EXPECT_EQ(v, 0.1);  // correctly rounded, as the compiler reads it
}

TEST(ParseCNumber, RefusesWhatFromCharsRefusesAndLeavesTheOutputAlone) {
  double v = 42;
  for (const char* text : {"", "+1", " 1", "1 ", "\t1", "0x10", "1,5", "1e", "-", ".", "1e999", "--1", "1.2.3"}) {
    EXPECT_FALSE(ParseCNumber(text, v)) << '"' << text << '"';
    EXPECT_EQ(v, 42) << '"' << text << '"';
  }
}

TEST(ParseCNumber, ReadsOnlyTheGivenLength) {
  const char text[] = "12345";
  double v = 0;
  ASSERT_TRUE(ParseCNumber(std::string_view(text, 2), v));
  EXPECT_EQ(v, 12.0);
}

}  // namespace
}  // namespace qarvex
