// Journal inserts per second: TOperJournal::AddOperation (open, insert,
// close, per operation) against the same SQLite work done directly on the
// same kind of file (open, insert, read the new ID back, close) in the same run.
// Both are dominated by the file system's sync on commit, whose cost swings
// with the disk's load: compare the two figures of one run, interleaved, e.g.
//   bench_journal --benchmark_repetitions=6 --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "bench_data_folders.h"
#include "common/text.h"
#include "emulator/uOperJournal.h"

namespace {

using qarvex::emulator::TOperJournal;


void BM_JournalAddOperation(benchmark::State& state) {
  qarvex::bench::BenchDataFolders folder;
  TOperJournal journal(qarvex::FromUtf8(folder.Root().string() + "/"));
  int id = 0;
  for (auto _ : state) {
    journal.AddOperation(10050, qarvex::emulator::otPay, u"4276000011112222", id);
    benchmark::DoNotOptimize(id);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_RawSqliteOpenInsertReadBackClose(benchmark::State& state) {
  qarvex::bench::BenchDataFolders folder;
  const std::string file = (folder.Root() / "journal.db3").string();
  {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE if not exists journal(ID integer PRIMARY KEY ASC,AMOUNT integer,OPER integer,"
                 "CARD VARCHAR(37),EDATE VARCHAR(14));",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  for (auto _ : state) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
      state.SkipWithError("open failed");
      break;
    }
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "Insert into journal(OPER,EDATE,CARD,AMOUNT) values (?1,?2,?3,?4)", -1, &insert, nullptr);
    sqlite3_bind_int(insert, 1, 0);
    sqlite3_bind_text(insert, 2, "20240131235958", -1, SQLITE_STATIC);
    sqlite3_bind_text(insert, 3, "4276000011112222", -1, SQLITE_STATIC);
    sqlite3_bind_int(insert, 4, 10050);
    const bool inserted = sqlite3_step(insert) == SQLITE_DONE;
    sqlite3_finalize(insert);
    const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
    sqlite3_close(db);
    if (!inserted) {
      state.SkipWithError("insert failed");
      break;
    }
    benchmark::DoNotOptimize(id);
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_JournalAddOperation)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RawSqliteOpenInsertReadBackClose)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
