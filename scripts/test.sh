#!/usr/bin/env bash
# Set-up, build and the whole test suite: the normal build, then the same
# suite under AddressSanitizer + UndefinedBehaviorSanitizer, then a bounded
# fuzzing run of the host-facing surface, then the Windows DLLs (x64 and
# x86) cross-built and tested under wine, then the add-in package built and
# read the way its hosts read it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)
for preset in linux linux-asan; do
  echo "=== $preset ==="
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
scripts/fuzz.sh  # bounded (QARVEX_FUZZ_SECONDS, default 180); fails on any finding
scripts/test-windows.sh
echo "=== package ==="
scripts/package.sh
ctest --preset package
echo "All test suites passed."
