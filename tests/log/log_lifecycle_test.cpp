#include <sys/stat.h>

#include <filesystem>

#include "common/error.h"
#include "log_fixture.h"

namespace qarvex::testing {
namespace {

using LogLifecycle = LogTest;

const char kLine[] = "2024.03.05 14:07:31.042\tDEBUG\t> Open\r\n";

TEST_F(LogLifecycle, LoggingOffWritesAndCreatesNothing) {
  TLog::Start();
  TLog::Append(u"> Open", u"", TLog::mtDebug);
  TLog::Stop();
  EXPECT_FALSE(std::filesystem::exists(folders.machine()));
  EXPECT_FALSE(log_testing::BannerWritten());

  // The viewer still gets its folder.
  EXPECT_EQ(ToUtf8(TLog::GetAbsolutePath(true)), Folder() + "/");
  EXPECT_TRUE(std::filesystem::is_directory(Folder()));
  EXPECT_EQ(ToUtf8(TLog::GetAbsolutePath(false)), FileOf("2024.03.05"));
  EXPECT_FALSE(std::filesystem::exists(FileOf("2024.03.05")));
}

TEST_F(LogLifecycle, OneBannerPerLoadEvenAcrossSwitchingOffAndOn) {
  On();
  TLog::Start();  // registration-time Start with logging on writes the banner
  TLog::Append(u"> Open", u"", TLog::mtDebug);
  Off();
  TLog::Append(u"> Open", u"", TLog::mtDebug);
  On();
  TLog::Start();
  TLog::Append(u"> Open", u"", TLog::mtDebug);
  EXPECT_EQ(Day("2024.03.05"), Banner() + kLine + kLine);
  EXPECT_TRUE(log_testing::BannerWritten());
}

TEST_F(LogLifecycle, MidnightStartsTheNextDaysFileWithoutBanner) {
  On();
  now = {2024, 3, 5, 23, 59, 59, 999};
  TLog::Append(u"a", u"", TLog::mtDebug);
  now = {2024, 3, 6, 0, 0, 0, 0};
  TLog::Append(u"b", u"", TLog::mtDebug);
  EXPECT_EQ(Day("2024.03.05"), Banner() + "2024.03.05 23:59:59.999\tDEBUG\ta\r\n");
  EXPECT_EQ(Day("2024.03.06"), "2024.03.06 00:00:00.000\tDEBUG\tb\r\n");
}

TEST_F(LogLifecycle, StopLineOnlyAfterTheBannerAndWhileOn) {
  On();
  TLog::Stop();  // nothing written yet: no stop line
  EXPECT_FALSE(std::filesystem::exists(FileOf("2024.03.05")));
  TLog::Append(u"> Open", u"", TLog::mtDebug);
  Off();
  TLog::Stop();
  On();
  TLog::Stop();
  EXPECT_EQ(Day("2024.03.05"), Banner() + kLine + "============Stop log===============\r\n\r\n");
  TLog::Unload();
  EXPECT_TRUE(log_testing::LogName().empty());
}

TEST_F(LogLifecycle, NewFolderIsOpenedToEveryoneAndItsFilesToo) {
  const mode_t old = ::umask(077);
  On();
  TLog::Append(u"> Open", u"", TLog::mtDebug);
  ::umask(old);
  EXPECT_EQ(ModeOf(Folder()), 0777u);
  EXPECT_EQ(ModeOf(FileOf("2024.03.05")), 0666u);
}

TEST_F(LogLifecycle, FolderRemovedWhileLoggingIsMadeAgainForTheNextLine) {
  const mode_t old = ::umask(077);
  On();
  TLog::Append(u"> Open", u"", TLog::mtDebug);
  std::filesystem::remove_all(Folder());
  TLog::Append(u"> Open", u"", TLog::mtDebug);
  ::umask(old);
  EXPECT_EQ(ModeOf(Folder()), 0777u);
  EXPECT_EQ(Day("2024.03.05"), kLine);  // the banner was written before
}

TEST_F(LogLifecycle, ExistingFolderKeepsItsRights) {
  std::filesystem::create_directories(folders.machine());
  ASSERT_EQ(::mkdir(Folder().c_str(), 0750), 0);
  On();
  TLog::Append(u"> Open", u"", TLog::mtDebug);
  EXPECT_EQ(ModeOf(Folder()), 0750u);
  EXPECT_EQ(Day("2024.03.05"), Banner() + kLine);
}

TEST_F(LogLifecycle, UnusableMachineFolderFallsBackToTheUsersDataFolder) {
  WriteFile(folders.machine(), "a file in the way");
  On();
  TLog::Append(u"> Open", u"", TLog::mtDebug);
  EXPECT_EQ(ReadFile(folders.user() + "/qarvex_termemu/qarvex_termemu_2024.03.05.log"), Banner() + kLine);
}

TEST_F(LogLifecycle, FailuresReachTheCallerAndTheBannerIsRetried) {
  std::filesystem::create_directories(Folder());
  ASSERT_EQ(::mkdir(FileOf("2024.03.05").c_str(), 0700), 0);  // a folder where the file goes
  On();
  EXPECT_THROW(TLog::Append(u"> Open", u"", TLog::mtDebug), Failure);
  EXPECT_FALSE(log_testing::BannerWritten());
  ASSERT_EQ(::rmdir(FileOf("2024.03.05").c_str()), 0);
  TLog::Append(u"> Open", u"", TLog::mtDebug);
  EXPECT_EQ(Day("2024.03.05"), Banner() + kLine);
}

TEST_F(LogLifecycle, LogNameWithFolderAndExtensionUsesItsBareName) {
  TLog::SetLogName(u"/opt/addins/qarvex_termemu.so");
  EXPECT_EQ(ToUtf8(TLog::GetAbsolutePath(false)), FileOf("2024.03.05"));
}

}  // namespace
}  // namespace qarvex::testing
