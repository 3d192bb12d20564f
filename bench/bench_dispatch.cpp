// Host calls per second through CallAsFunc of a cheap registered method,
// with the log off and on, loaded through the replacement host exactly as
// the platform loads a component.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench_data_folders.h"
#include "tools/host/replacement_host.h"

namespace {

using qarvex::nativehost::Component;
using qarvex::nativehost::HostValue;
using qarvex::nativehost::ReplacementHost;

struct Session {
  Session() {
    host = std::make_unique<ReplacementHost>(QARVEX_PROBE_PATH);
    probe = host->Create(u"probe");
    probe->Handshake();
    add = probe->FindMethod(u"Add");
  }
  ~Session() {
    probe.reset();
    host.reset();
  }
  void Log(bool on) {
    std::vector<HostValue> flag{on};
    probe->CallFunc(u"EnableLog", flag);
  }
  qarvex::bench::BenchDataFolders folders;
  std::unique_ptr<ReplacementHost> host;
  std::unique_ptr<Component> probe;
  long add = -1;
};

Session& TheSession() {
  static Session session;
  return session;
}

void CallAsFunc(benchmark::State& state, bool logging) {
  Session& s = TheSession();
  s.Log(logging);
  std::vector<HostValue> params{2, 40};
  for (auto _ : state) {
    auto result = s.probe->CallAsFunc(s.add, params);
    benchmark::DoNotOptimize(result);
  }
  s.Log(false);
  state.SetItemsProcessed(state.iterations());
}

void BM_CallAsFunc_LogOff(benchmark::State& state) { CallAsFunc(state, false); }
void BM_CallAsFunc_LogOn(benchmark::State& state) { CallAsFunc(state, true); }
BENCHMARK(BM_CallAsFunc_LogOff);
BENCHMARK(BM_CallAsFunc_LogOn);

}  // namespace

BENCHMARK_MAIN();
