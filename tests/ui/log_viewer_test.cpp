// The log viewer on a log folder in temporary XDG folders: which files are
// listed and in what order, what is shown at creation, when the timer
// re-reads the shown file, and what happens to the caret.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/error.h"
#include "log/Common.Log.h"
#include "log/log_testing.h"
#include "log/ufmLog.h"
#include "platform/temp_folders.h"

namespace qarvex {
namespace {

namespace fs = std::filesystem;

class FakeLogView final : public platform::ILogView {
 public:
  void SetFileNames(const std::vector<WString>& n) override {
    names = n;
    selected.reset();
  }
  void SelectFile(std::size_t index) override { selected = index; }
  std::size_t FileCount() override { return names.size(); }
  WString ShownFileName() override { return selected ? names.at(*selected) : WString(); }
  void SetLogText(WStringView t) override {
    text.assign(t);
    ++loads;
  }
  std::size_t CaretOffset() override { return caret; }
  void RestoreCaret(std::size_t offset) override { restored.push_back(offset); }
  void ExploreFolder(WStringView folder) override { explored.emplace_back(folder); }
  void ShowError(WStringView message) override { errors.emplace_back(message); }

  std::vector<WString> names;
  std::optional<std::size_t> selected;
  WString text;
  int loads = 0;
  std::size_t caret = 0;
  std::vector<std::size_t> restored;
  std::vector<WString> explored;
  std::vector<WString> errors;
};

class LogViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log_testing::ResetLogState();
    TLog::SetLogName(u"qarvex_termemu");
    folder = folders.machine() + "/qarvex_termemu/";
  }
  void TearDown() override { log_testing::ResetLogState(); }

  // The log folder as the viewer finds it (created on first use).
  void CreateLogFolder() { TLog::GetAbsolutePath(true); }
  void Write(const std::string& name, const std::string& bytes) { testing::WriteFile(folder + name, bytes); }
  void Append(const std::string& name, const std::string& bytes) {
    testing::WriteFile(folder + name, testing::ReadFile(folder + name) + bytes);
  }
  // Moves a file's last-write time by `seconds` from its current one.
  void Touch(const std::string& name, int seconds) {
    const fs::path path = folder + name;
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(seconds));
  }
  // Runs a handler as the window dispatches its events.
  template <class Handler>
  void Dispatch(Handler&& handler) {
    platform::RunEventHandler(view, handler);
  }

  testing::TempFolders folders;
  std::string folder;
  TfrmLog viewer;
  FakeLogView view;
};

TEST_F(LogViewerTest, ListsLogFilesOfAnyCaseInCaseInsensitiveOrderAndShowsTheLast) {
  CreateLogFolder();
  Write("qarvex_termemu_2024.03.05.log", "today\r\n");
  Write("qarvex_termemu_2024.03.04.LOG", "yesterday\r\n");
  Write("Zeta.Log", "z");
  Write("alpha.log", "a");
  Write("notes.txt", "");
  Write("log", "");
  Write("archive.log.gz", "");
  fs::create_directory(folder + "old.log");
  fs::create_directory(folder + "sub");
  Write("sub/inner.log", "");

  viewer.FormCreate(view);
  EXPECT_EQ(view.names, (std::vector<WString>{u"alpha.log", u"qarvex_termemu_2024.03.04.LOG",
                                              u"qarvex_termemu_2024.03.05.log", u"Zeta.Log"}));
  EXPECT_EQ(view.ShownFileName(), u"Zeta.Log");
  EXPECT_EQ(view.text, u"z");
  EXPECT_EQ(ToUtf8(viewer.LogDirectory()), folder);
}

TEST_F(LogViewerTest, TheShownFileIsReadAsUtf8WithItsLinesEndedForTheTextBox) {
  CreateLogFolder();
  Write("qarvex_termemu_2024.03.05.log", "\xEF\xBB\xBFПервая\nвторая\r\nтретья\r");
  viewer.FormCreate(view);
  EXPECT_EQ(view.text, u"Первая\r\nвторая\r\nтретья\r\n");
}

TEST_F(LogViewerTest, AnEmptyFolderGivesAnEmptyWindowAndAQuietTimer) {
  viewer.FormCreate(view);  // the folder is created here
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(view.names.empty());
  EXPECT_EQ(view.ShownFileName(), u"");
  Dispatch([&] { viewer.tmrCheckFileTimer(view); });
  EXPECT_EQ(view.loads, 0);
  EXPECT_TRUE(view.errors.empty());
}

TEST_F(LogViewerTest, TheTimerRereadsOnlyWhenTheFileTimeMovedForwardAndKeepsTheCaret) {
  CreateLogFolder();
  const std::string name = "qarvex_termemu_2024.03.05.log";
  Write(name, "line 1\r\n");
  Touch(name, -100);
  viewer.FormCreate(view);
  ASSERT_EQ(view.loads, 1);

  viewer.tmrCheckFileTimer(view);  // unchanged
  EXPECT_EQ(view.loads, 1);

  view.caret = 3;
  Append(name, "line 2\r\n");
  Touch(name, -50);  // still 50 s later than when it was loaded
  viewer.tmrCheckFileTimer(view);
  EXPECT_EQ(view.loads, 2);
  EXPECT_EQ(view.text, u"line 1\r\nline 2\r\n");
  EXPECT_EQ(view.restored, std::vector<std::size_t>{3});

  Append(name, "line 3\r\n");
  Touch(name, -80);  // replaced by an older copy: earlier than the last load
  viewer.tmrCheckFileTimer(view);
  EXPECT_EQ(view.loads, 2);

  Touch(name, 100);
  viewer.tmrCheckFileTimer(view);
  EXPECT_EQ(view.loads, 3);
  EXPECT_EQ(view.text, u"line 1\r\nline 2\r\nline 3\r\n");
}

TEST_F(LogViewerTest, OpeningTheListClearsTheChoiceAndStopsFollowingUntilAFileIsPicked) {
  CreateLogFolder();
  Write("a.log", "first\r\n");
  Write("b.log", "second\r\n");
  Touch("b.log", -100);
  viewer.FormCreate(view);
  Write("c.log", "next day\r\n");

  viewer.cbbLogFilesDropDown(view);
  EXPECT_EQ(view.names, (std::vector<WString>{u"a.log", u"b.log", u"c.log"}));
  EXPECT_EQ(view.ShownFileName(), u"");
  Append("b.log", "more\r\n");
  viewer.tmrCheckFileTimer(view);
  EXPECT_EQ(view.text, u"second\r\n");

  view.SelectFile(0);
  viewer.cbbLogFilesChange(view);
  EXPECT_EQ(view.text, u"first\r\n");
}

TEST_F(LogViewerTest, AFileThatVanishedBeforeLoadingIsReportedAndTheWindowCarriesOn) {
  CreateLogFolder();
  Write("a.log", "first\r\n");
  viewer.FormCreate(view);
  viewer.cbbLogFilesDropDown(view);
  fs::remove(folder + "a.log");
  view.SelectFile(0);
  Dispatch([&] { viewer.cbbLogFilesChange(view); });
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_NE(view.errors[0].find(u"a.log"), WString::npos);
  EXPECT_EQ(view.text, u"first\r\n");

  Dispatch([&] { viewer.tmrCheckFileTimer(view); });  // a missing file is just not followed
  EXPECT_EQ(view.errors.size(), 1u);
}

TEST_F(LogViewerTest, TheFolderButtonOpensTheLogFolderEvenWhenItHoldsNoFile) {
  viewer.FormCreate(view);
  viewer.btnOpenDirClick(view);
  ASSERT_EQ(view.explored.size(), 1u);
  EXPECT_EQ(ToUtf8(view.explored[0]), folder);
}

TEST_F(LogViewerTest, WithoutADisplayTheViewerIsRefusedBeforeTouchingTheFolder) {
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  try {
    viewer.ShowModal();
    FAIL() << "the viewer should be refused";
  } catch (const Failure& e) {
    EXPECT_EQ(std::string(e.what()).rfind("The log viewer window cannot be shown: ", 0), 0u) << e.what();
  }
  EXPECT_FALSE(fs::exists(folder));
}

}  // namespace
}  // namespace qarvex
