// Approved payments per second through the whole host path (replacement
// host -> CallAsFunc -> dispatch -> exported method -> endings -> journal ->
// slip), against a baseline in the same run that does the journal's SQLite
// work for one payment directly: open the file, insert the row, read its ID
// back, close. Both write to journal files in the same temporary folder
// ($TMPDIR; on tmpfs the figures show our own overhead, on a disk they are
// dominated by the file system's syncs).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_data_folders.h"
#include "tools/host/replacement_host.h"

namespace {

using qarvex::nativehost::Component;
using qarvex::nativehost::HostValue;
using qarvex::nativehost::ReplacementHost;

constexpr char kSchema[] =
    "CREATE TABLE if not exists journal(ID integer PRIMARY KEY ASC,AMOUNT integer,OPER integer,"
    "CARD VARCHAR(37),EDATE VARCHAR(14));";
constexpr char kInsert[] = "Insert into journal(OPER,EDATE,CARD,AMOUNT) values (?1,?2,?3,?4)";

struct Session {
  Session() {
    host = std::make_unique<ReplacementHost>(QARVEX_COMPONENT_PATH);
    terminal = host->Create(u"qarvex_termemu");
    terminal->Handshake();
    std::vector<HostValue> open{HostValue(u"bench")};
    connected = terminal->CallFunc(u"Подключить", open).value.AsBool();
    pay = terminal->FindMethod(u"ОплатитьПлатежнойКартой");
    // At the journal's own depth: SQLite resolves every folder of the path
    // on each open, so a shallower file would flatter the baseline.
    const auto baselineFolder = folders.Root() / "baseline" / "qarvex_termemu" / "OperJournal";
    std::filesystem::create_directories(baselineFolder);
    baselineFile = (baselineFolder / "journal.db3").string();
  }
  ~Session() {
    terminal.reset();
    host.reset();
  }
  qarvex::bench::BenchDataFolders folders;
  std::unique_ptr<ReplacementHost> host;
  std::unique_ptr<Component> terminal;
  bool connected = false;
  long pay = -1;
  std::string baselineFile;
};

Session& TheSession() {
  static Session session;
  return session;
}

void PaymentThroughHost(benchmark::State& state) {
  Session& s = TheSession();
  if (!s.connected || s.pay < 0) {
    state.SkipWithError("the terminal did not connect");
    return;
  }
  std::vector<HostValue> params(7);
  for (auto _ : state) {
    params = {HostValue(u"bench"), HostValue(u"4276380012345678"), HostValue(1500.0), HostValue(u""),
              HostValue(u""),      HostValue(u""),                 HostValue(u"")};
    auto result = s.terminal->CallAsFunc(s.pay, params);
    if (!result.ok || !result.value.AsBool()) {
      state.SkipWithError("a payment failed");
      break;
    }
    benchmark::DoNotOptimize(params[6]);
  }
  state.SetItemsProcessed(state.iterations());
}

// The SQLite work of one stored payment, without anything of ours around it.
void DirectSqliteBaseline(benchmark::State& state) {
  Session& s = TheSession();
  {
    sqlite3* db = nullptr;
    sqlite3_open_v2(s.baselineFile.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  for (auto _ : state) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(s.baselineFile.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
      state.SkipWithError("cannot open the baseline file");
      sqlite3_close(db);
      break;
    }
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, kInsert, -1, &insert, nullptr);
    sqlite3_bind_int64(insert, 1, 0);
    sqlite3_bind_text(insert, 2, "20240131235958", -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 3, "4276380012345678", -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(insert, 4, 150000);
    const int rc = sqlite3_step(insert);
    sqlite3_finalize(insert);
    const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
    sqlite3_close(db);
    if (rc != SQLITE_DONE) {
      state.SkipWithError("the baseline insert failed");
      break;
    }
    benchmark::DoNotOptimize(id);
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(DirectSqliteBaseline)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(PaymentThroughHost)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
