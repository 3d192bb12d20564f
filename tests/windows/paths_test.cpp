// Paths, folders, name comparison and whole-file writes on Windows.
#include <gtest/gtest.h>

#include "common/error.h"
#include "platform/file_io.h"
#include "platform/folders.h"
#include "platform/name_compare.h"
#include "windows_test_support.h"

namespace qarvex::testing {
namespace {

using namespace platform;

TEST(WindowsPaths, SplittingAndDelimiters) {
  EXPECT_EQ(PathDelimiter(), u'\\');
  EXPECT_EQ(IncludeTrailingDelimiter(u"C:\\data"), u"C:\\data\\");
  EXPECT_EQ(IncludeTrailingDelimiter(u"C:\\data\\"), u"C:\\data\\");
  EXPECT_EQ(ExtractFileName(u"C:\\a\\b\\qarvex_termemu.dll"), u"qarvex_termemu.dll");
  EXPECT_EQ(ExtractFilePath(u"C:\\a\\b\\qarvex_termemu.dll"), u"C:\\a\\b\\");
  EXPECT_EQ(ExtractFileName(u"C:name.log"), u"name.log");
  EXPECT_EQ(ExtractFilePath(u"name.log"), u"");
}

TEST(WindowsPaths, ExpandPathRefusesWhatNoFileSystemAccepts) {
  EXPECT_THROW(ExpandPath(u""), Failure);
  EXPECT_THROW(ExpandPath(u"C:\\bad|name"), Failure);
  EXPECT_THROW(ExpandPath(u"C:\\what?"), Failure);
  EXPECT_THROW(ExpandPath(u"C:\\a:b"), Failure) << "a colon only after the drive letter";
  EXPECT_THROW(ExpandPath(u"Q:\\no drive"), Failure);
  const WString absolute = ExpandPath(u"relative\\part");
  EXPECT_EQ(absolute[1], u':');
  EXPECT_EQ(ExtractFileName(absolute), u"part");
}

TEST(WindowsPaths, ForceDirectoriesCreatesEveryMissingParent) {
  WindowsTempFolder temp;
  const WString deep = temp / u"one\\two\\three\\";
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep)) << "an existing folder is fine";
  WriteWholeFile(temp / u"file", "x");
  EXPECT_FALSE(ForceDirectories(temp / u"file\\below")) << "a file is in the way";
  EXPECT_FALSE(DirectoryExists(temp / u"file"));
}

TEST(WindowsPaths, CommonApplicationDataFolderExistsAndEndsWithTheDelimiter) {
  const WString folder = CommonAppDataFolder(u"qarvex_termemu");
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), u'\\');
  EXPECT_TRUE(DirectoryExists(folder));
}

TEST(WindowsPaths, WholeFileWritesReplaceAndExistenceIgnoresFolders) {
  WindowsTempFolder temp;
  const WString file = temp / u"data.txt";
  EXPECT_FALSE(FileExists(file));
  WriteWholeFile(file, "first, longer text");
  WriteWholeFile(file, "second");
  EXPECT_TRUE(FileExists(file));
  HANDLE h = ::CreateFileW(W(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  char buffer[64] = {};
  DWORD read = 0;
  ::ReadFile(h, buffer, sizeof buffer, &read, nullptr);
  ::CloseHandle(h);
  EXPECT_EQ(std::string(buffer, read), "second");
  EXPECT_FALSE(FileExists(temp.Path()));
  EXPECT_THROW(WriteWholeFile(temp / u"missing\\data.txt", "x"), Failure);
}

TEST(WindowsNames, ComparisonIsCaseSensitiveAndWhole) {
  EXPECT_TRUE(NamesEqual(u"GetVersion", u"GetVersion"));
  EXPECT_TRUE(NamesEqual(u"ПолучитьНомерВерсии", u"ПолучитьНомерВерсии"));
  EXPECT_FALSE(NamesEqual(u"GetVersion", u"getversion"));
  EXPECT_FALSE(NamesEqual(u"ПолучитьНомерВерсии", u"получитьномерверсии"));
  EXPECT_FALSE(NamesEqual(u"GetVersion", u"GetVersio"));
  EXPECT_FALSE(NamesEqual(u"", u"GetVersion"));
  EXPECT_TRUE(NamesEqual(u"", u""));
}

}  // namespace
}  // namespace qarvex::testing
