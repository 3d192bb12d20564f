// The journal under contention: P cashier processes, each loading the real
// component through the replacement host and making K approved payments at
// once against one journal file, timed payment by payment. The same K
// payments by a single process run first, in the same invocation, as the
// baseline; the report gives both rates, their ratio and the latency
// percentiles, and checks that every payment left exactly one row and the
// file passes SQLite's integrity check.
//
//   journal_contention [--processes P] [--payments K] [--rounds R] [--library PATH]
//
// Each round runs the baseline and then the P processes on fresh data
// folders under $TMPDIR. A benchmark, not a test: it never fails on a figure,
// only when a payment fails or the journal is wrong (exit status 1).
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/host/replacement_host.h"

namespace {

using qarvex::nativehost::HostValue;
using qarvex::nativehost::ReplacementHost;
using Clock = std::chrono::steady_clock;

struct Options {
  int processes = 16;
  int payments = 1000;
  int rounds = 1;
  std::string library = QARVEX_COMPONENT_PATH;
};

struct RunFigures {
  int processes = 0;
  double seconds = 0;  // from the start signal to the last process's end
  std::vector<double> latenciesMs;
  long long rows = 0;
  std::string integrity;
  bool allPaid = true;
  double Rate() const { return seconds > 0 ? static_cast<double>(latenciesMs.size()) / seconds : 0; }
};

// One cashier: connects, says so on `readyFd`, waits for the start byte,
// pays `payments` times and writes its latencies (milliseconds, doubles) to
// `out`. Exit status 0 when every payment was approved.
int Cashier(const Options& options, int readyFd, int startFd, const std::string& out) {
  try {
    ReplacementHost host(options.library);
    auto terminal = host.Create(u"qarvex_termemu");
    if (!terminal || !terminal->Handshake()) return 2;
    std::vector<HostValue> open{HostValue(u"cashier")};
    if (!terminal->CallFunc(u"Подключить", open).value.AsBool()) return 3;
    const long pay = terminal->FindMethod(u"ОплатитьПлатежнойКартой");
    char go = 'r';
    if (::write(readyFd, &go, 1) != 1 || ::read(startFd, &go, 1) != 1) return 4;
    std::vector<double> latencies;
    latencies.reserve(static_cast<size_t>(options.payments));
    int failed = 0;
    for (int i = 0; i < options.payments; ++i) {
      std::vector<HostValue> params{HostValue(u"cashier"), HostValue(u"4276380012345678"), HostValue(1500.0),
                                    HostValue(u""),        HostValue(u""),                 HostValue(u""),
                                    HostValue(u"")};
      const auto from = Clock::now();
      const auto result = terminal->CallAsFunc(pay, params);
      latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - from).count());
      if (!result.ok || !result.value.AsBool()) ++failed;
    }
    std::ofstream file(out, std::ios::binary);
    file.write(reinterpret_cast<const char*>(latencies.data()),
               static_cast<std::streamsize>(latencies.size() * sizeof(double)));
    return failed == 0 && file ? 0 : 5;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cashier %d: %s\n", static_cast<int>(::getpid()), e.what());
    return 6;
  }
}

// Row count and integrity of the journal file, read as any other program would.
void InspectJournal(const std::string& file, RunFigures& figures) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    figures.integrity = "cannot open";
    sqlite3_close(db);
    return;
  }
  const auto scalar = [db](const char* sql) {
    sqlite3_stmt* st = nullptr;
    std::string text;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
      text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    return text;
  };
  figures.rows = std::atoll(scalar("select count(*) from journal").c_str());
  figures.integrity = scalar("pragma integrity_check");
  sqlite3_close(db);
}

RunFigures Run(const Options& options, int processes, const std::filesystem::path& root) {
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "machine");
  ::setenv("XDG_DATA_DIRS", (root / "machine").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (root / "user").c_str(), 1);

  int start[2], ready[2];
  if (::pipe(start) != 0 || ::pipe(ready) != 0) throw std::runtime_error("pipe");
  std::vector<pid_t> children;
  for (int p = 0; p < processes; ++p) {
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork");
    if (pid == 0) {
      ::close(start[1]);
      ::close(ready[0]);
      ::_exit(Cashier(options, ready[1], start[0], (root / ("latencies-" + std::to_string(p))).string()));
    }
    children.push_back(pid);
  }
  ::close(start[0]);
  ::close(ready[1]);
  // Every cashier has loaded the library and connected before the clock
  // starts (a cashier that failed to closes its end early).
  for (int p = 0; p < processes; ++p) {
    char byte = 0;
    if (::read(ready[0], &byte, 1) != 1) break;
  }
  ::close(ready[0]);
  const auto from = Clock::now();
  const std::string go(static_cast<size_t>(processes), 'g');
  if (::write(start[1], go.data(), go.size()) != static_cast<ssize_t>(go.size())) throw std::runtime_error("write");
  RunFigures figures;
  figures.processes = processes;
  for (pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) figures.allPaid = false;
  }
  figures.seconds = std::chrono::duration<double>(Clock::now() - from).count();
  ::close(start[1]);
  for (int p = 0; p < processes; ++p) {
    std::ifstream file(root / ("latencies-" + std::to_string(p)), std::ios::binary);
    double value = 0;
    while (file.read(reinterpret_cast<char*>(&value), sizeof value)) figures.latenciesMs.push_back(value);
  }
  InspectJournal((root / "machine/qarvex_termemu/OperJournal/journal.db3").string(), figures);
  std::filesystem::remove_all(root);
  return figures;
}

double Percentile(std::vector<double> sorted, double share) {
  if (sorted.empty()) return 0;
  std::sort(sorted.begin(), sorted.end());
  const size_t at = std::min(sorted.size() - 1, static_cast<size_t>(share * static_cast<double>(sorted.size())));
  return sorted[at];
}

bool Report(const RunFigures& f, int payments) {
  const double max = f.latenciesMs.empty() ? 0 : *std::max_element(f.latenciesMs.begin(), f.latenciesMs.end());
  std::printf("  %2d x %d: %8.0f payments/s  p50 %6.2f ms  p99 %6.2f ms  max %7.2f ms  rows %lld  integrity %s\n",
              f.processes, payments, f.Rate(), Percentile(f.latenciesMs, 0.50), Percentile(f.latenciesMs, 0.99), max,
              f.rows, f.integrity.c_str());
  const long long expected = static_cast<long long>(f.processes) * payments;
  const bool sound = f.allPaid && f.rows == expected && f.integrity == "ok" &&
                     f.latenciesMs.size() == static_cast<size_t>(expected);
  if (!sound) std::printf("  FAULT: expected %lld approved payments and rows and an intact file\n", expected);
  return sound;
}

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::invalid_argument(arg + " needs a value");
      return argv[++i];
    };
    const auto count = [&](int low, int high) {
      const std::string text = value();
      char* end = nullptr;
      const long n = std::strtol(text.c_str(), &end, 10);
      if (text.empty() || *end != '\0' || n < low || n > high)
        throw std::invalid_argument(arg + " takes a whole number from " + std::to_string(low) + " to " +
                                    std::to_string(high) + ", not '" + text + "'");
      return static_cast<int>(n);
    };
    if (arg == "--processes") o.processes = count(1, 256);
    else if (arg == "--payments") o.payments = count(1, 1000000);
    else if (arg == "--rounds") o.rounds = count(1, 100);
    else if (arg == "--library") o.library = value();
    else throw std::invalid_argument("unknown option " + arg);
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  try {
    options = Parse(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "journal_contention: %s\nusage: journal_contention [--processes P] [--payments K] "
                         "[--rounds R] [--library PATH]\n", e.what());
    return 2;
  }
  const auto root = std::filesystem::temp_directory_path() / ("qarvex-contention-" + std::to_string(::getpid()));
  bool sound = true;
  std::printf("journal contention: %s\n", options.library.c_str());
  for (int round = 1; round <= options.rounds; ++round) {
    std::printf("round %d\n", round);
    const RunFigures single = Run(options, 1, root);
    sound = Report(single, options.payments) && sound;
    const RunFigures many = Run(options, options.processes, root);
    sound = Report(many, options.payments) && sound;
    std::printf("  %d processes reach %.2f of one process's rate\n", options.processes,
                single.Rate() > 0 ? many.Rate() / single.Rate() : 0);
  }
  return sound ? 0 : 1;
}
