// The log viewer's caret between the form's offsets (UTF-16, CR LF two
// units, as the framework's edit control counts) and the GTK text view's
// (characters, LF): the same place either way, so that the caret the timer
// restores is where the reader left it.
#include <gtest/gtest.h>

#include "platform/linux/gtk/text_view_text.h"

namespace qarvex::platform::gtk_ui {
namespace {

TEST(TextViewText, LineEndsBecomeLineFeedsWhateverTheyWere) {
  EXPECT_EQ(ToTextViewText(u"a\r\nb\rc\nd"), "a\nb\nc\nd");
  EXPECT_EQ(ToTextViewText(u"Сумма\r\n"), "Сумма\n");
  EXPECT_EQ(ToTextViewText(u""), "");
}

TEST(TextViewText, OffsetsMeanTheSamePlaceAcrossLineEndsAndSurrogatePairs) {
  const WString text = u"ab\r\nЁ\U0001F600x\r\n";  // a b CRLF Ё (pair) x CRLF
  // characters: a=0 b=1 \n=2 Ё=3 😀=4 x=5 \n=6 end=7
  const std::size_t units[] = {0, 1, 2, 4, 5, 7, 8, 10};
  for (std::size_t characters = 0; characters < std::size(units); ++characters) {
    EXPECT_EQ(FormOffsetOf(text, characters), units[characters]) << characters;
    EXPECT_EQ(TextViewOffsetOf(text, units[characters]), characters) << characters;
  }
  EXPECT_EQ(FormOffsetOf(text, 100), text.size()) << "past the end: the end";
  EXPECT_EQ(TextViewOffsetOf(text, 3), 2u) << "between CR and LF: before the line end";
  EXPECT_EQ(TextViewOffsetOf(text, 6), 4u) << "inside a surrogate pair: before it";
  EXPECT_EQ(TextViewOffsetOf(text, 1000), 7u);
}

}  // namespace
}  // namespace qarvex::platform::gtk_ui
