#include "log_fixture.h"

namespace qarvex::testing {
namespace {

using LogLine = LogTest;

TEST_F(LogLine, LayoutIsDateTimeTypeCaptionAndMessageSeparatedByTabs) {
  EXPECT_EQ(log_testing::FormatLogString(u"Exception", u"Нет связи", TLog::mtError),
            u"2024.03.05 14:07:31.042\tERROR\tException: \tНет связи");
  EXPECT_EQ(log_testing::FormatLogString(u"> Open", u"Params: ", TLog::mtDebug),
            u"2024.03.05 14:07:31.042\tDEBUG\t> Open: \tParams:");
  now = {987, 1, 2, 3, 4, 5, 6};
  EXPECT_EQ(log_testing::FormatLogString(u"c", u"m", TLog::mtInfo), u"0987.01.02 03:04:05.006\tINFO\tc: \tm");
}

TEST_F(LogLine, TheTimeSeparatorIsTheRegionalOne) {
  platform::OverrideRegionalSettings(platform::RegionalSettings{u',', u'.', u'.'});
  EXPECT_EQ(log_testing::FormatLogString(u"c", u"", TLog::mtInfo), u"2024.03.05 14.07.31.042\tINFO\tc");
}

TEST_F(LogLine, EmptyAndBlankMessagesAndTrimming) {
  const std::u16string stamp = u"2024.03.05 14:07:31.042\tDEBUG\t";
  EXPECT_EQ(log_testing::FormatLogString(u"> GetVersion", u"", TLog::mtDebug), stamp + u"> GetVersion");
  EXPECT_EQ(log_testing::FormatLogString(u"> GetVersion", u"   ", TLog::mtDebug), stamp + u"> GetVersion: \t");
  EXPECT_EQ(log_testing::FormatLogString(u" \t> Open\r\n", u"\x01 x y \n", TLog::mtDebug), stamp + u"> Open: \tx y");
}

TEST_F(LogLine, AppendWritesUtf8WithoutBomAndCrLf) {
  On();
  TLog::Append(u"EXCEPTION", u"Ошибка", TLog::mtError);
  EXPECT_EQ(Day("2024.03.05"),
            Banner() + "2024.03.05 14:07:31.042\tERROR\tEXCEPTION: \t\xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0\r\n");
}

}  // namespace
}  // namespace qarvex::testing
