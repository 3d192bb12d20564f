// A thin owner of one SQLite connection and its statements, used by the
// operation journal. It turns every SQLite error into a Failure carrying
// SQLite's own message text, so callers see the database's wording.
//
// Ownership: a JournalDatabase owns its sqlite3 handle; a JournalStatement
// owns its prepared statement and must not outlive the database it came from.
// Threading: one thread at a time per object; processes sharing the file are
// serialised by SQLite's file locks, and a writer that finds the file locked
// keeps retrying for up to kBusyTimeoutMs before giving up.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/text.h"
#include "platform/writer_turnstile.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qarvex::emulator {

class JournalStatement {
 public:
  JournalStatement(sqlite3* db, std::string_view sql);
  ~JournalStatement();
  JournalStatement(const JournalStatement&) = delete;
  JournalStatement& operator=(const JournalStatement&) = delete;
  JournalStatement(JournalStatement&& other) noexcept;
  JournalStatement& operator=(JournalStatement&&) = delete;

  // Parameters are numbered from 1, as in the statement text.
  void BindInt(int index, std::int64_t value);
  void BindText(int index, WStringView value);

  // Runs one step; true when a row is available, false when done.
  bool Step();

  // Columns are looked up by name (case-insensitive, as SQLite names them).
  std::int64_t Int(std::string_view column) const;
  WString Text(std::string_view column) const;

 private:
  int ColumnIndex(std::string_view column) const;

  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class JournalDatabase {
 public:
  static constexpr int kBusyTimeoutMs = 5000;

  explicit JournalDatabase(std::string utf8Path = {});
  ~JournalDatabase();
  JournalDatabase(const JournalDatabase&) = delete;
  JournalDatabase& operator=(const JournalDatabase&) = delete;

  // The file to open next time; does not touch an open connection.
  void SetPath(std::string utf8Path) { path_ = std::move(utf8Path); }
  const std::string& Path() const { return path_; }

  // Opens the file for reading and writing, creating it when missing. Does
  // nothing when already open.
  void Open();
  // Closes the connection, unless a held transaction keeps it open.
  void Close() noexcept;
  bool IsOpen() const { return db_ != nullptr; }

  // Runs a statement without results (opening the connection if needed).
  void Execute(std::string_view sql);
  JournalStatement Prepare(std::string_view sql);

  // Rows changed by the last INSERT/UPDATE/DELETE, and the rowid of the last
  // INSERT, both on this connection only.
  int Changes() const;
  std::int64_t LastInsertRowId() const;

  // A transaction that takes the write lock at once and keeps the
  // connection open across operations until it ends: Close() does nothing
  // meanwhile. EndHeldTransaction commits or rolls back and closes; a failed
  // commit is rolled back and reported. Writers of this machine first queue
  // in the file's turnstile ("<file>.writers", see WriterTurnstile), so the
  // one whose turn it is wakes at once and nobody overtakes; the database's
  // own lock is then taken with the bounded wait of any writer.
  void BeginHeldTransaction();
  void EndHeldTransaction(bool commit);

 private:
  static int WaitForLock(void* self, int attempt);
  platform::WriterTurnstile& Turnstile();

  std::string path_;
  sqlite3* db_ = nullptr;
  bool held_ = false;  // inside BeginHeldTransaction .. EndHeldTransaction
  std::chrono::steady_clock::time_point busyDeadline_;  // of the current wait
  // While a held transaction begins: the end of its whole wait.
  std::optional<std::chrono::steady_clock::time_point> beginDeadline_;
  std::unique_ptr<platform::WriterTurnstile> turnstile_;  // of path_, made when first needed
  std::string turnstilePath_;
};

}  // namespace qarvex::emulator
