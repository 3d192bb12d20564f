// The version call ("ПолучитьНомерВерсии") through the replacement host,
// against the way the version used to be found, in the same run: the whole
// library file read and searched for the stamp on every call. The reading
// alone (ReadFileVersion on the library) is measured too.
//
// QARVEX_BENCH_LIBRARY names another build of the component to call (for
// instance an older one, to compare the host call itself).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/version_stamp.h"
#include "platform/module_info.h"
#include "tools/host/replacement_host.h"

namespace {

using qarvex::nativehost::Component;
using qarvex::nativehost::HostValue;
using qarvex::nativehost::ReplacementHost;

std::string Library() {
  const char* other = std::getenv("QARVEX_BENCH_LIBRARY");
  return other != nullptr && *other != '\0' ? other : QARVEX_COMPONENT_PATH;
}

void VersionCallThroughHost(benchmark::State& state) {
  const auto root = std::filesystem::temp_directory_path() / ("qarvex-bench-version-" + std::to_string(::getpid()));
  ::setenv("XDG_DATA_DIRS", (root / "machine").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (root / "user").c_str(), 1);
  ReplacementHost host(Library());
  std::unique_ptr<Component> terminal = host.Create(u"qarvex_termemu");
  terminal->Handshake();
  const long method = terminal->FindMethod(u"ПолучитьНомерВерсии");
  std::vector<HostValue> none;
  for (auto _ : state) {
    auto result = terminal->CallAsFunc(method, none);
    if (!result.ok || result.value.AsText() != u"1.0.6.15") {
      state.SkipWithError("the version call did not answer 1.0.6.15");
      break;
    }
  }
  terminal.reset();
  std::filesystem::remove_all(root);
}

void ReadFromTheStampSection(benchmark::State& state) {
  const qarvex::WString library = qarvex::FromUtf8(QARVEX_COMPONENT_PATH);
  for (auto _ : state) benchmark::DoNotOptimize(qarvex::platform::ReadFileVersion(library));
}

// The former way: every byte of the file read and searched.
void WholeFileSearchBaseline(benchmark::State& state) {
  for (auto _ : state) {
    std::ifstream in(QARVEX_COMPONENT_PATH, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto version = qarvex::platform::linux_impl::FindVersionStamp(bytes);
    if (!version) {
      state.SkipWithError("no stamp in the library");
      break;
    }
    benchmark::DoNotOptimize(version);
  }
}

BENCHMARK(WholeFileSearchBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadFromTheStampSection)->Unit(benchmark::kMicrosecond);
BENCHMARK(VersionCallThroughHost)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
