// Lines per second of TLog::Append (logging on and off) against a baseline
// that opens, appends and closes the same daily file directly. The log
// folder lives in a temporary XDG folder removed at the end. On a shared
// machine compare them as
//   bench_log_append --benchmark_repetitions=10
//     --benchmark_enable_random_interleaving=true
//     --benchmark_report_aggregates_only=true
// so that both go through the same stretches of noise.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench_data_folders.h"
#include "log/Common.Log.h"
#include "log/log_testing.h"

namespace {

using qarvex::TLog;

constexpr qarvex::WStringView kCaption = u"> PayByPaymentCard";
constexpr qarvex::WStringView kMessage = u"Params: 0, \"4276********1234\", 150.5, \"\", \"\", \"\", \"\"";

void BM_TLogAppend(benchmark::State& state) {
  TLog::LogLevel = 3;
  for (auto _ : state) TLog::Append(kCaption, kMessage, TLog::mtDebug);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TLogAppend);

// The same bytes a line takes, written the cheapest sound way: open with
// O_APPEND, one write, close. The difference to BM_TLogAppend is the cost
// of the clock, formatting and converting the line, the path and the lock;
// both close the file after every line.
void BM_DirectAppendBaseline(benchmark::State& state) {
  TLog::LogLevel = 3;
  const std::string path = qarvex::ToUtf8(TLog::GetAbsolutePath(false));
  const std::string line =
      qarvex::ToUtf8(qarvex::log_testing::FormatLogString(kCaption, kMessage, TLog::mtDebug)) + "\r\n";
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 || ::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
      state.SkipWithError("direct append failed");
      if (fd >= 0) ::close(fd);
      break;
    }
    ::close(fd);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DirectAppendBaseline);

void BM_TLogAppendLoggingOff(benchmark::State& state) {
  TLog::LogLevel = 0;
  for (auto _ : state) TLog::Append(kCaption, kMessage, TLog::mtDebug);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TLogAppendLoggingOff);

}  // namespace

int main(int argc, char** argv) {
  const qarvex::bench::BenchDataFolders folders;
  TLog::SetLogName(u"qarvex_termemu");
  TLog::LogLevel = 3;
  TLog::Start();  // the banner is a one-off, kept out of the measurements

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
