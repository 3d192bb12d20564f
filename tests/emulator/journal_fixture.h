// Shared set-up for the emulator tests: a private temporary data folder
// (XDG_DATA_DIRS / XDG_DATA_HOME point into it, never at the machine's real
// folders), a fixed clock, fixed regional separators, and raw SQLite access
// to the journal file for arranging and inspecting rows.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/datetime.h"
#include "common/text.h"
#include "emulator/uOperJournal.h"
#include "platform/clock.h"
#include "platform/regional_settings.h"

namespace qarvex::emulator::testing {

inline constexpr LocalDateTime kFixedNow{2024, 1, 31, 23, 59, 58, 0};

class JournalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "qarvex_journal_XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    ASSERT_FALSE(root_.empty());
    std::filesystem::create_directories(root_ / "common");
    std::filesystem::create_directories(root_ / "home");
    setenv("XDG_DATA_DIRS", (root_ / "common").c_str(), 1);
    setenv("XDG_DATA_HOME", (root_ / "home").c_str(), 1);
    platform::OverrideClock([] { return kFixedNow; });
    platform::OverrideRegionalSettings(platform::RegionalSettings{u',', u'.', u':'});
  }

  void TearDown() override {
    platform::OverrideClock({});
    platform::OverrideRegionalSettings(std::nullopt);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // The device folder, with its trailing delimiter.
  WString DeviceFolder() const { return FromUtf8((root_ / "device").string() + "/"); }
  std::filesystem::path DatabasePath() const { return root_ / "device" / "OperJournal" / "journal.db3"; }

  // Runs SQL directly on the journal file; fails the test on an error.
  void RawExec(const std::string& sql) const {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(DatabasePath().c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error != nullptr ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << message;
  }

  // The first column of the first row of a query, as text ("" for none).
  std::string RawQuery(const std::string& sql) const {
    sqlite3* db = nullptr;
    std::string result;
    if (sqlite3_open(DatabasePath().c_str(), &db) == SQLITE_OK) {
      sqlite3_stmt* stmt = nullptr;
      if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW &&
          sqlite3_column_text(stmt, 0) != nullptr)
        result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
      sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
  }

  std::filesystem::path root_;
};

}  // namespace qarvex::emulator::testing
