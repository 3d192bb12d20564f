#include "emulator/journal_database.h"

#include <sqlite3.h>

#include <algorithm>
#include <random>
#include <string>
#include <thread>
#include <utility>

#include "common/error.h"

namespace qarvex::emulator {

namespace {

[[noreturn]] void ThrowDatabaseError(sqlite3* db) {
  throw Failure(std::string(db != nullptr ? sqlite3_errmsg(db) : "out of memory"));
}

}  // namespace

JournalStatement::JournalStatement(sqlite3* db, std::string_view sql) : db_(db) {
  if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK)
    ThrowDatabaseError(db_);
}

JournalStatement::JournalStatement(JournalStatement&& other) noexcept
    : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)) {}

JournalStatement::~JournalStatement() { sqlite3_finalize(stmt_); }

void JournalStatement::BindInt(int index, std::int64_t value) {
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) ThrowDatabaseError(db_);
}

void JournalStatement::BindText(int index, WStringView value) {
  const std::string utf8 = ToUtf8(value);
  if (sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT) !=
      SQLITE_OK)
    ThrowDatabaseError(db_);
}

bool JournalStatement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  ThrowDatabaseError(db_);
}

int JournalStatement::ColumnIndex(std::string_view column) const {
  const int count = sqlite3_column_count(stmt_);
  const std::string wanted(column);
  for (int i = 0; i < count; ++i) {
    const char* name = sqlite3_column_name(stmt_, i);
    if (name != nullptr && sqlite3_stricmp(name, wanted.c_str()) == 0) return i;
  }
  throw Failure("Field '" + wanted + "' not found");
}

std::int64_t JournalStatement::Int(std::string_view column) const {
  return sqlite3_column_int64(stmt_, ColumnIndex(column));
}

WString JournalStatement::Text(std::string_view column) const {
  const int index = ColumnIndex(column);
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
  if (text == nullptr) return {};
  return FromUtf8(std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, index))));
}

JournalDatabase::JournalDatabase(std::string utf8Path) : path_(std::move(utf8Path)) {}

JournalDatabase::~JournalDatabase() {
  held_ = false;  // the transaction, if any, is rolled back by closing
  Close();
  if (turnstile_) turnstile_->Leave();
}

void JournalDatabase::Open() {
  if (db_ != nullptr) return;
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    throw Failure(message);
  }
  // Several processes share the file: a writer that finds it locked waits
  // for the other writer to finish instead of failing the operation.
  sqlite3_busy_handler(db, &JournalDatabase::WaitForLock, this);
  db_ = db;
}

void JournalDatabase::Close() noexcept {
  if (db_ == nullptr || held_) return;
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

platform::WriterTurnstile& JournalDatabase::Turnstile() {
  if (!turnstile_ || turnstilePath_ != path_) {
    if (turnstile_) turnstile_->Leave();
    turnstile_ = std::make_unique<platform::WriterTurnstile>(FromUtf8(path_ + ".writers"));
    turnstilePath_ = path_;
  }
  return *turnstile_;
}

void JournalDatabase::BeginHeldTransaction() {
  platform::WriterTurnstile& turnstile = Turnstile();
  // One bound for the whole wait, in the turnstile and then for the lock.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
  // Advisory: without a turn (unusable turnstile, or a writer that holds it
  // past the bound) the database's own lock still serialises the writers.
  turnstile.Enter(deadline);
  beginDeadline_ = deadline;
  try {
    Execute("BEGIN IMMEDIATE");
  } catch (...) {
    beginDeadline_.reset();
    turnstile.Leave();
    Close();
    throw;
  }
  beginDeadline_.reset();
  held_ = true;
}

void JournalDatabase::EndHeldTransaction(bool commit) {
  held_ = false;
  try {
    if (commit) Execute("COMMIT");
  } catch (...) {
    if (db_ != nullptr) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    Close();
    if (turnstile_) turnstile_->Leave();
    throw;
  }
  if (!commit && db_ != nullptr) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  Close();
  if (turnstile_) turnstile_->Leave();
}

void JournalDatabase::Execute(std::string_view sql) {
  JournalStatement statement = Prepare(sql);
  while (statement.Step()) {
  }
}

JournalStatement JournalDatabase::Prepare(std::string_view sql) {
  Open();
  return JournalStatement(db_, sql);
}

int JournalDatabase::WaitForLock(void* self, int attempt) {
  auto& database = *static_cast<JournalDatabase*>(self);
  const auto now = std::chrono::steady_clock::now();
  if (attempt == 0)
    database.busyDeadline_ = database.beginDeadline_.value_or(now + std::chrono::milliseconds(kBusyTimeoutMs));
  if (now >= database.busyDeadline_) return 0;
  thread_local std::minstd_rand jitter(
      static_cast<std::uint_fast32_t>(now.time_since_epoch().count() ^ reinterpret_cast<std::uintptr_t>(&jitter)));
  if (database.held_) {
    // We hold the write lock and our commit waits for readers to leave:
    // momentary readers (a lookup, a writer's first step) are gone within
    // microseconds, so look again at once, then after pauses growing to a
    // millisecond for a reader that lists the whole journal.
    if (attempt < 8) std::this_thread::yield();
    else std::this_thread::sleep_for(std::chrono::microseconds(std::min(1000, 20 << std::min(attempt - 8, 6))));
    return 1;
  }
  // Waiting for another writer (our turnstile's writers queue before they
  // get here; these are older copies, other machines, or readers). Short,
  // slightly varied pauses: SQLite's own back-off grows to 100 ms, during
  // which busy writers take the lock again and again, so one cashier's
  // insert could starve past the bound.
  std::this_thread::sleep_for(std::chrono::microseconds(200 + jitter() % 1000));
  return 1;
}

int JournalDatabase::Changes() const { return db_ != nullptr ? sqlite3_changes(db_) : 0; }

std::int64_t JournalDatabase::LastInsertRowId() const {
  return db_ != nullptr ? sqlite3_last_insert_rowid(db_) : 0;
}

}  // namespace qarvex::emulator
