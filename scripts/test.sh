#!/usr/bin/env bash
# Set-up, build and the whole test suite: the normal build, then the same
# suite under AddressSanitizer + UndefinedBehaviorSanitizer, then a bounded
# fuzzing run of the host-facing surface, then the Windows DLLs (x64 and
# x86) cross-built and tested under wine, then the Linux i386 and ARM64
# builds tested on their own processors, then the add-in package built and
# read the way its hosts read it, and its portable Linux libraries checked
# and run on Debian 11. Ends with every suite's count of tests run and
# passed, and every suite skipped with why (scripts/lib/summary.sh), also
# when a stage fails and stops the run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/summary.sh
summary_reset
trap 'status=$?; ((status == 0)) || summary_print || true' EXIT
scripts/setup.sh
# The Debian 11 roots of the portable libraries are mostly downloading and
# unpacking: they are made while the machine's own builds run.
scripts/portable-sysroot.sh x86_64-linux-gnu i686-linux-gnu aarch64-linux-gnu &
sysroot_maker=$!
jobs=$(nproc)
for preset in linux linux-asan; do
  echo "=== $preset ==="
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  summary_ctest "$preset" --preset "$preset" -j "$jobs"
done
scripts/fuzz.sh  # bounded (QARVEX_FUZZ_SECONDS, default 180); fails on any finding
scripts/test-windows.sh
wait "$sysroot_maker"
scripts/test-linux-targets.sh
echo "=== package ==="
scripts/package.sh
summary_ctest package --preset package
scripts/test-portable.sh
trap - EXIT
summary_print
