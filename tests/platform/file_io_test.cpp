#include <gtest/gtest.h>

#include <sys/stat.h>

#include "common/error.h"
#include "platform/file_io.h"
#include "temp_folders.h"

namespace qarvex::platform {
namespace {

using testing::ModeOf;
using testing::ReadFile;
using testing::TempFolders;
using testing::WriteFile;

WString W(const std::string& s) { return FromUtf8(s); }

TEST(AppendToFile, CreatesForEveryoneWhateverTheUmaskAndAppends) {
  TempFolders t;
  const mode_t old = ::umask(077);
  const std::string file = t.root() + "/a.log";
  AppendToFile(W(file), "one\r\n");
  AppendToFile(W(file), "два\r\n");
  ::umask(old);
  EXPECT_EQ(ReadFile(file), "one\r\nдва\r\n");
  EXPECT_EQ(ModeOf(file), 0666u);
  EXPECT_TRUE(FileExists(W(file)));
}

TEST(AppendToFile, KeepsTheRightsOfAnExistingFile) {
  TempFolders t;
  const std::string file = t.root() + "/own.log";
  WriteFile(file, "old\n");
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  AppendToFile(W(file), "new\n");
  EXPECT_EQ(ReadFile(file), "old\nnew\n");
  EXPECT_EQ(ModeOf(file), 0600u);
}

TEST(AppendToFile, RealFailuresNameTheFile) {
  TempFolders t;
  try {
    AppendToFile(W(t.root() + "/missing/x.log"), "line");
    FAIL() << "a missing folder must fail";
  } catch (const Failure& e) {
    EXPECT_NE(std::string(e.what()).find(t.root() + "/missing/x.log"), std::string::npos) << e.what();
  }
  EXPECT_THROW(AppendToFile(u"/dev/full", "line\r\n"), Failure);  // disk full
}

TEST(WriteWholeFile, ReplacesTheContentsExactly) {
  TempFolders t;
  const std::string file = t.root() + "/report.txt";
  WriteWholeFile(W(file), "a long first text");
  WriteWholeFile(W(file), "short");
  EXPECT_EQ(ReadFile(file), "short");
  EXPECT_THROW(WriteWholeFile(W(t.root() + "/no/such.txt"), "x"), Failure);
  EXPECT_FALSE(FileExists(W(t.root())));  // a folder is not a file
}

}  // namespace
}  // namespace qarvex::platform
