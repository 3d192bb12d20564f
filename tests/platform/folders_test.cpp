#include <gtest/gtest.h>

#include <unistd.h>

#include "common/error.h"
#include "platform/folder_access.h"
#include "platform/folders.h"
#include "temp_folders.h"

namespace qarvex::platform {
namespace {

using testing::ModeOf;
using testing::TempFolders;
using testing::WriteFile;

WString W(const std::string& s) { return FromUtf8(s); }

TEST(CommonAppDataFolder, IsTheFirstAbsoluteXdgDataDirCreatedWithTrailingDelimiter) {
  TempFolders t;
  ::setenv("XDG_DATA_DIRS", ("relative/ignored:" + t.machine() + "/a:/usr/share").c_str(), 1);
  EXPECT_EQ(CommonAppDataFolder(), W(t.machine() + "/a/"));
  EXPECT_TRUE(DirectoryExists(W(t.machine() + "/a")));
}

TEST(CommonAppDataFolder, LeavesTheSubFolderForItsCreator) {
  TempFolders t;
  EXPECT_EQ(CommonAppDataFolder(u"qarvex_termemu"), W(t.machine() + "/"));
  EXPECT_FALSE(DirectoryExists(W(t.machine() + "/qarvex_termemu")));
}

TEST(CommonAppDataFolder, FallsBackToXdgDataHomeWhenTheMachineFolderIsUnusable) {
  TempFolders t;
  WriteFile(t.machine(), "a file where the folder should be");
  EXPECT_EQ(CommonAppDataFolder(), W(t.user() + "/"));
  EXPECT_TRUE(DirectoryExists(W(t.user())));
}

TEST(CommonAppDataFolder, FallsBackWhenTheSubFolderCannotBeMadeThere) {
  TempFolders t;
  ASSERT_TRUE(ForceDirectories(W(t.machine())));
  WriteFile(t.machine() + "/qarvex_termemu", "blocks the folder");
  EXPECT_EQ(CommonAppDataFolder(u"qarvex_termemu"), W(t.user() + "/"));
  EXPECT_EQ(CommonAppDataFolder(u"other"), W(t.machine() + "/"));
}

TEST(CommonAppDataFolder, FailsWhenNeitherFolderIsUsable) {
  TempFolders t;
  WriteFile(t.machine(), "x");
  WriteFile(t.user(), "y");
  EXPECT_THROW(CommonAppDataFolder(), Failure);
}

TEST(Folders, ForceDirectoriesCreatesParentsAndReportsFailure) {
  TempFolders t;
  EXPECT_TRUE(ForceDirectories(W(t.root() + "/a/b/c")));
  EXPECT_TRUE(DirectoryExists(W(t.root() + "/a/b/c")));
  EXPECT_TRUE(ForceDirectories(W(t.root() + "/a/b/c/")));  // already there
  WriteFile(t.root() + "/file", "");
  EXPECT_FALSE(ForceDirectories(W(t.root() + "/file/sub")));
  EXPECT_FALSE(DirectoryExists(W(t.root() + "/file")));
  EXPECT_FALSE(ForceDirectories(u""));
}

TEST(Folders, PathPartsAndExpansion) {
  EXPECT_EQ(ExtractFileName(u"/a/b/qarvex_termemu.so"), u"qarvex_termemu.so");
  EXPECT_EQ(ExtractFilePath(u"/a/b/qarvex_termemu.so"), u"/a/b/");
  EXPECT_EQ(ExtractFileName(u"plain"), u"plain");
  EXPECT_EQ(ExtractFilePath(u"plain"), u"");
  EXPECT_EQ(IncludeTrailingDelimiter(u"/a"), u"/a/");
  EXPECT_EQ(IncludeTrailingDelimiter(u"/a/"), u"/a/");

  TempFolders t;
  ASSERT_EQ(::chdir(t.root().c_str()), 0);
  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(ExpandPath(u"x/y"), W(std::string(cwd) + "/x/y"));
  EXPECT_EQ(ExpandPath(u"/abs"), u"/abs");
  EXPECT_THROW(ExpandPath(u""), Failure);
  EXPECT_THROW(ExpandPath(WString(u"/a\0b", 4)), Failure);
  ASSERT_EQ(::chdir("/"), 0);
}

TEST(FolderAccess, GrantOpensTheFolderToEveryoneAndFailsForAMissingOne) {
  TempFolders t;
  const std::string folder = t.root() + "/logs";
  ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
  GrantEveryoneFullAccess(W(folder));
  EXPECT_EQ(ModeOf(folder), 0777u);
  EXPECT_THROW(GrantEveryoneFullAccess(W(t.root() + "/missing")), Failure);
}

}  // namespace
}  // namespace qarvex::platform
