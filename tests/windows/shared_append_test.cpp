// Appends under the log's sharing rule: a writer that meets another writer
// waits briefly instead of failing; readers that allow writing never block.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "common/error.h"
#include "platform/file_io.h"
#include "platform/windows/shared_append.h"
#include "windows_test_support.h"

namespace qarvex::testing {
namespace {

using platform::AppendToFile;
using platform::windows_impl::AppendToFileWithin;

std::string Contents(const WString& file) { return ReadSharedFile(W(file)); }

// Opens the file as another writer would: others may read, not write.
HANDLE OpenAsWriter(const WString& file) {
  return ::CreateFileW(W(file).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
}

TEST(SharedAppend, WriterWaitsForAnotherWriterInsteadOfFailing) {
  WindowsTempFolder temp;
  const WString file = temp / u"day.log";
  AppendToFile(file, "first\r\n");
  HANDLE other = OpenAsWriter(file);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  std::thread release([other] {
    ::Sleep(300);
    ::CloseHandle(other);
  });
  EXPECT_NO_THROW(AppendToFile(file, "second\r\n"));
  release.join();
  EXPECT_EQ(Contents(file), "first\r\nsecond\r\n");
}

TEST(SharedAppend, WriterGivesUpAfterTheBoundWithTheFilesName) {
  WindowsTempFolder temp;
  const WString file = temp / u"busy.log";
  AppendToFile(file, "kept\r\n");
  HANDLE other = OpenAsWriter(file);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  try {
    AppendToFileWithin(file, "lost\r\n", 100);
    ADD_FAILURE() << "the append went through a writer's lock";
  } catch (const Failure& e) {
    EXPECT_NE(std::string(e.what()).find("busy.log"), std::string::npos) << e.what();
  }
  ::CloseHandle(other);
  EXPECT_EQ(Contents(file), "kept\r\n");
}

TEST(SharedAppend, ReadersThatAllowWritingNeverBlockTheWriter) {
  WindowsTempFolder temp;
  const WString file = temp / u"viewed.log";
  AppendToFile(file, "a\r\n");
  HANDLE reader = ::CreateFileW(W(file).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_NO_THROW(AppendToFileWithin(file, "b\r\n", 0));
  ::CloseHandle(reader);
  EXPECT_EQ(Contents(file), "a\r\nb\r\n");
}

// Each thread opens the file on its own, as separate processes do: they
// meet each other's sharing lock constantly, yet no append fails and no
// line is split or lost.
TEST(SharedAppend, ConcurrentWritersNeverFailAndNeverSplitLines) {
  WindowsTempFolder temp;
  const WString file = temp / u"shared.log";
  constexpr int kThreads = 4, kLines = 150;
  std::atomic<int> failures{0};
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([&, t] {
      for (int i = 0; i < kLines; ++i) {
        try {
          AppendToFile(file, "writer " + std::to_string(t) + " line " + std::to_string(i) +
                                 " ..........................................\r\n");
        } catch (const std::exception&) {
          ++failures;
        }
      }
    });
  }
  for (auto& w : writers) w.join();
  EXPECT_EQ(failures.load(), 0);
  std::istringstream in(Contents(file));
  std::set<std::string> lines;
  std::string line;
  int count = 0;
  while (std::getline(in, line)) {
    ++count;
    EXPECT_EQ(line.back(), '\r');
    EXPECT_EQ(line.rfind("writer ", 0), 0u) << line;
    lines.insert(line);
  }
  EXPECT_EQ(count, kThreads * kLines);
  EXPECT_EQ(lines.size(), static_cast<size_t>(kThreads * kLines));
}

}  // namespace
}  // namespace qarvex::testing
