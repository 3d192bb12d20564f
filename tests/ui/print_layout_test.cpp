// The printed page of the text window: wrapping of long lines, page breaks
// and TAB stops, on a printer whose every character is 10 pixels wide and
// whose drawn text is 10 pixels high.
#include <gtest/gtest.h>

#include "emulator/text_print_layout.h"

namespace qarvex::emulator {
namespace {

constexpr int kCharWidth = 10;
constexpr int kTextHeight = 10;

platform::TextExtent Fixed(WStringView text) {
  return {static_cast<int>(text.size()) * kCharWidth, kTextHeight};
}

// 95 wide: 9 characters fit. 100 high; a drawn line is 12 high, an empty one 10.
TPrintPageMetrics Page() { return TPrintPageMetrics{95, 100, 10, 7}; }

std::vector<TPrintedPiece> Lay(const std::vector<WString>& lines, const TPrintPageMetrics& page = Page()) {
  return LayOutPrintedText(lines, page, Fixed);
}

TEST(PrintLayout, LineWiderThanThePageBreaksAfterTheLastCharacterThatFits) {
  const auto pieces = Lay({u"abcdefghijklmnopqrstuvw", u"x"});
  const std::vector<TPrintedPiece> expected{
      {0, 0, 0, u"abcdefghi"}, {0, 0, 12, u"jklmnopqr"}, {0, 0, 24, u"stuvw"}, {0, 0, 36, u"x"}};
  EXPECT_EQ(pieces, expected);
}

TEST(PrintLayout, ALineExactlyAsWideAsThePageDoesNotWrap) {
  const auto pieces = Lay({u"abcdefghi", u"j"}, TPrintPageMetrics{90, 100, 10, 7});
  const std::vector<TPrintedPiece> expected{{0, 0, 0, u"abcdefghi"}, {0, 0, 12, u"j"}};
  EXPECT_EQ(pieces, expected);
}

TEST(PrintLayout, ACharacterWiderThanThePageIsPlacedAloneAndPrintingMovesOn) {
  const auto pieces = Lay({u"ab"}, TPrintPageMetrics{5, 100, 10, 7});
  const std::vector<TPrintedPiece> expected{{0, 0, 0, u"a"}, {0, 0, 12, u"b"}};
  EXPECT_EQ(pieces, expected);
}

TEST(PrintLayout, PageBreaksWhenTheNextLineWouldPassThePageHeightLessTwoLineHeights) {
  // Drawn lines are 12 high: after the 7th the position 84 lies below
  // 100 - 24 = 76, so the 8th line starts page two at the top.
  std::vector<WString> lines(9, u"x");
  const auto pieces = Lay(lines);
  ASSERT_EQ(pieces.size(), 9u);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(pieces[i].page, 0) << i;
    EXPECT_EQ(pieces[i].y, 12 * i) << i;
  }
  EXPECT_EQ(pieces[7], (TPrintedPiece{1, 0, 0, u"x"}));
  EXPECT_EQ(pieces[8], (TPrintedPiece{1, 0, 12, u"x"}));
}

TEST(PrintLayout, EmptyLinesAdvanceByTheFontHeightAndBreakOnlyPastThePageHeight) {
  // Nine empty lines reach 90, the tenth 100 (not below 100), the eleventh
  // 110: the line after it starts a new page.
  std::vector<WString> lines(11, u"");
  lines.push_back(u"x");
  auto pieces = Lay(lines);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0], (TPrintedPiece{1, 0, 0, u"x"}));

  lines.erase(lines.begin());  // ten empty lines: still on the first page at 100
  pieces = Lay(lines);
  EXPECT_EQ(pieces.at(0), (TPrintedPiece{0, 0, 100, u"x"}));
}

TEST(PrintLayout, WrappedPiecesCountAsLinesForPageBreaking) {
  // One text line of 63 characters is seven printed lines; the next text
  // line starts page two.
  const auto pieces = Lay({WString(63, u'a'), u"b"});
  ASSERT_EQ(pieces.size(), 8u);
  EXPECT_EQ(pieces[6].y, 72);
  EXPECT_EQ(pieces[7], (TPrintedPiece{1, 0, 0, u"b"}));
}

TEST(PrintLayout, TabsAdvanceToMultiplesOfEightAverageCharacterWidths) {
  // Average width 7: stops every 56 pixels.
  const auto pieces = Lay({u"ab\tc", u"\tx", u"abcdef\ty"}, TPrintPageMetrics{200, 100, 10, 7});
  const std::vector<TPrintedPiece> expected{{0, 0, 0, u"ab"},   {0, 56, 0, u"c"},  {0, 56, 12, u"x"},
                                            {0, 0, 24, u"abcdef"}, {0, 112, 24, u"y"}};
  EXPECT_EQ(pieces, expected);
}

TEST(PrintLayout, ATabBeyondThePrintableWidthEndsTheLine) {
  // Stops every 56 on a 95-wide page: the second TAB would reach 112.
  const auto pieces = Lay({u"a\tb\tc"});
  const std::vector<TPrintedPiece> expected{{0, 0, 0, u"a"}, {0, 56, 0, u"b"}, {0, 0, 12, u"c"}};
  EXPECT_EQ(pieces, expected);
}

TEST(PrintLayout, TextAfterATabThatDoesNotFitWrapsToTheLeftEdge) {
  const auto pieces = Lay({u"\tabcdef"});  // from 56 only 3 characters fit
  const std::vector<TPrintedPiece> expected{{0, 56, 0, u"abc"}, {0, 0, 12, u"def"}};
  EXPECT_EQ(pieces, expected);
}

}  // namespace
}  // namespace qarvex::emulator
