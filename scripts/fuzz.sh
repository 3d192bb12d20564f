#!/usr/bin/env bash
# Builds the fuzz targets (preset linux-fuzz: clang 14, libFuzzer,
# AddressSanitizer, UndefinedBehaviorSanitizer) and fuzzes the component's
# host-facing surface for a bounded time, starting from the committed seed
# corpus (fuzz/corpus; the inputs found meanwhile stay in the build folder).
# Fails on any finding: a sanitizer report, a breach of the checking host's
# rules, a leak, a time-out or an out-of-memory; the input is kept and the
# command that replays it is printed.
#
#   scripts/fuzz.sh [SECONDS]      (default: $QARVEX_FUZZ_SECONDS or 180)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/apt.sh
source scripts/lib/summary.sh
summary_open
ensure_packages clang-14 libclang-rt-14-dev cmake ninja-build libsqlite3-dev libpugixml-dev

seconds=${1:-${QARVEX_FUZZ_SECONDS:-180}}
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds < 1)); then
  echo "usage: scripts/fuzz.sh [SECONDS]  (a whole number of seconds, at least 1; not '$seconds')" >&2
  exit 2
fi

cmake --preset linux-fuzz >/dev/null
cmake --build --preset linux-fuzz -j 2 --target host_surface_fuzzer

build=build/linux-fuzz/fuzz
work="$build/corpus/host_surface"
findings="$build/findings"
mkdir -p "$work" "$findings"
cp -n fuzz/corpus/host_surface/* "$work"/ 2>/dev/null || true

# No window system: nothing may open a window and wait for a person.
unset DISPLAY WAYLAND_DISPLAY
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

echo "=== fuzzing the host-facing surface for ${seconds}s ==="
status=0
"$build/host_surface_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -print_final_stats=1 -artifact_prefix="$findings/" "$work" >"$build/fuzz.log" 2>&1 || status=$?
tail -n 25 "$build/fuzz.log" | grep -E '^(stat::|Done|==|SUMMARY|#[0-9]+ +DONE)' || true
if ((status != 0)); then
  echo "--- finding (full output: $build/fuzz.log) ---" >&2
  grep -E -m 40 'ERROR|runtime error|host check|SUMMARY|#[0-9]+ 0x' "$build/fuzz.log" >&2 || tail -n 40 "$build/fuzz.log" >&2
  for input in "$findings"/*; do
    [[ -e $input ]] || continue
    echo "input kept: $input" >&2
    echo "replay:     $build/host_surface_fuzzer $input   (QARVEX_FUZZ_TRACE=1 lists the calls)" >&2
  done
  echo "fuzzing found a fault (libFuzzer exit status $status)" >&2
  summary_fail fuzzing "a finding (libFuzzer exit status $status; $build/fuzz.log)"
  summary_close || true
  exit 1
fi
echo "fuzzing: no finding in ${seconds}s"
runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$build/fuzz.log" | tail -1)
summary_ok fuzzing "${runs:-?} runs in ${seconds} s, no finding"
summary_close
