// Host calls per second through CallAsFunc of a cheap registered method,
// with the log off and on, loaded through the replacement host exactly as
// the platform loads a component.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "tools/host/replacement_host.h"

namespace {

using qarvex::nativehost::Component;
using qarvex::nativehost::HostValue;
using qarvex::nativehost::ReplacementHost;

struct Session {
  Session() {
    root = std::filesystem::temp_directory_path() / ("qarvex-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "machine");
    ::setenv("XDG_DATA_DIRS", (root / "machine").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root / "user").c_str(), 1);
    host = std::make_unique<ReplacementHost>(QARVEX_PROBE_PATH);
    probe = host->Create(u"probe");
    probe->Handshake();
    add = probe->FindMethod(u"Add");
  }
  ~Session() {
    probe.reset();
    host.reset();
    std::filesystem::remove_all(root);
  }
  void Log(bool on) {
    std::vector<HostValue> flag{on};
    probe->CallFunc(u"EnableLog", flag);
  }
  std::filesystem::path root;
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
