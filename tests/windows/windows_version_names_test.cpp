// The names of Windows releases in the log banner.
#include <gtest/gtest.h>

#include "platform/os_description.h"
#include "platform/windows/windows_version_names.h"

namespace qarvex::testing {
namespace {

using platform::windows_impl::DescribeWindows;
using platform::windows_impl::WindowsVersionName;

TEST(WindowsVersionNames, EveryListedCombinationAndItsNeighbours) {
  struct Case {
    unsigned major, minor, platformId;
    const char16_t* name;
  } cases[] = {
      {4, 0, 1, u"Windows 95"},   {4, 0, 2, u"Windows NT 4"},  {4, 10, 1, u"Windows 98"},
      {4, 90, 1, u"Windows ME"},  {3, 51, 2, u"Windows NT 3"}, {3, 0, 2, u"Windows NT 3"},
      {5, 0, 2, u"Windows 2000"}, {5, 1, 2, u"Windows XP"},    {5, 2, 2, u"Windows 2003"},
      {6, 0, 2, u"Windows Vista"}, {6, 1, 2, u"Windows 7"},    {6, 2, 2, u"Windows 8.0"},
      {6, 3, 2, u"Windows 8.1"},  {10, 0, 2, u"Windows 10"},
      // Unlisted combinations.
      {4, 1, 1, u"Unknown"},      {5, 3, 2, u"Unknown"},       {6, 4, 2, u"Unknown"},
      {10, 1, 2, u"Unknown"},     {11, 0, 2, u"Unknown"},      {2, 0, 2, u"Unknown"},
      {0, 0, 0, u"Unknown"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WindowsVersionName(c.major, c.minor, c.platformId), WStringView(c.name))
        << c.major << "." << c.minor << " platform " << c.platformId;
}

TEST(WindowsVersionNames, DescriptionAddsTheServicePackOnlyWhenThereIsOne) {
  EXPECT_EQ(DescribeWindows({6, 1, 7601, 2, u"Service Pack 1"}), u"Windows 7 Service Pack 1 (6.1.7601)");
  EXPECT_EQ(DescribeWindows({10, 0, 19045, 2, u""}), u"Windows 10 (10.0.19045)");
  EXPECT_EQ(DescribeWindows({7, 0, 1, 2, u""}), u"Unknown (7.0.1)");
}

// Whatever version wine reports, the description has the banner's form.
TEST(WindowsVersionNames, RunningSystemIsDescribedWithItsNumbers) {
  const WString text = platform::OsDescription();
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text, u"Unknown ");
  EXPECT_EQ(text.back(), u')');
  const size_t open = text.rfind(u" (");
  ASSERT_NE(open, WString::npos);
  int dots = 0;
  for (size_t i = open + 2; i + 1 < text.size(); ++i) {
    if (text[i] == u'.') ++dots;
    else EXPECT_TRUE(text[i] >= u'0' && text[i] <= u'9') << "not a number in " << ToUtf8(text);
  }
  EXPECT_EQ(dots, 2);
}

}  // namespace
}  // namespace qarvex::testing
