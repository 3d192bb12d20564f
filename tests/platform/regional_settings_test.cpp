#include <gtest/gtest.h>

#include <stdlib.h>

#include "platform/linux/locale_separators.h"
#include "platform/regional_settings.h"

namespace qarvex::platform {
namespace {

using linux_impl::FirstCharacter;
using linux_impl::SeparatorOfFormat;

// Date and time patterns as installed locales report them.
TEST(LocaleSeparators, TakeTheFirstLiteralBetweenConversions) {
  EXPECT_EQ(SeparatorOfFormat("%d.%m.%Y", u'/'), u'.');     // ru_RU, de_DE
  EXPECT_EQ(SeparatorOfFormat("%m/%d/%Y", u'?'), u'/');     // en_US
  EXPECT_EQ(SeparatorOfFormat("%Y-%m-%d", u'/'), u'-');     // sv_SE
  EXPECT_EQ(SeparatorOfFormat("%-d.%-m.%Y", u'/'), u'.');   // flags before the letter
  EXPECT_EQ(SeparatorOfFormat("%Od.%Om.%EY", u'/'), u'.');  // E/O modifiers
  EXPECT_EQ(SeparatorOfFormat("%H.%M.%S", u':'), u'.');     // fi_FI time
  EXPECT_EQ(SeparatorOfFormat("%H:%M:%S", u'.'), u':');
}

TEST(LocaleSeparators, CompositeConversionsStandForTheirSeparators) {
  EXPECT_EQ(SeparatorOfFormat("%D", u'.'), u'/');
  EXPECT_EQ(SeparatorOfFormat("%F", u'.'), u'-');
  EXPECT_EQ(SeparatorOfFormat("%T", u'.'), u':');
  EXPECT_EQ(SeparatorOfFormat("%r", u'#'), u'#');  // no separator shown: the fallback
  EXPECT_EQ(SeparatorOfFormat("", u'#'), u'#');
  EXPECT_EQ(SeparatorOfFormat("%", u'#'), u'#');   // truncated pattern
}

TEST(LocaleSeparators, RadixCharacterIsDecodedFromUtf8) {
  EXPECT_EQ(FirstCharacter(",", u'.'), u',');
  EXPECT_EQ(FirstCharacter("\xD9\xAB", u'.'), u'\u066B');  // Arabic decimal separator
  EXPECT_EQ(FirstCharacter("", u'.'), u'.');
  EXPECT_EQ(FirstCharacter("\xFF", u'.'), u'.');
}

TEST(RegionalSettings, CLocaleGivesDotSlashColonAndOverrideReplacesIt) {
  ::setenv("LC_ALL", "C", 1);
  const RegionalSettings system = CurrentRegionalSettings();
  EXPECT_EQ(system.decimalSeparator, u'.');
  EXPECT_EQ(system.dateSeparator, u'/');
  EXPECT_EQ(system.timeSeparator, u':');

  OverrideRegionalSettings(RegionalSettings{u',', u'.', u'-'});
  EXPECT_EQ(CurrentRegionalSettings().decimalSeparator, u',');
  EXPECT_EQ(CurrentRegionalSettings().dateSeparator, u'.');
  EXPECT_EQ(CurrentRegionalSettings().timeSeparator, u'-');

  OverrideRegionalSettings(std::nullopt);
  EXPECT_EQ(CurrentRegionalSettings().timeSeparator, u':');
}

TEST(RegionalSettings, UninstalledLocaleFallsBackToC) {
  ::setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
  const RegionalSettings& s = CurrentRegionalSettings();
  EXPECT_EQ(s.decimalSeparator, u'.');
  EXPECT_EQ(s.dateSeparator, u'/');
  EXPECT_EQ(s.timeSeparator, u':');
}

}  // namespace
}  // namespace qarvex::platform
