#!/usr/bin/env bash
# Set-up, build and the whole test suite: the normal build, then the same
# suite under AddressSanitizer + UndefinedBehaviorSanitizer, then a bounded
# fuzzing run of the host-facing surface, then the Windows DLLs (x64 and
# x86) cross-built and tested under wine, then the add-in package built and
# read the way its hosts read it, and its portable Linux library checked and
# run on Debian 11.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# The Debian 11 root of the portable library is mostly downloading and
# unpacking: it is made while the machine's own builds run.
scripts/portable-sysroot.sh x86_64-linux-gnu &
sysroot_maker=$!
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
wait "$sysroot_maker"
scripts/package.sh
ctest --preset package
scripts/test-portable.sh
echo "All test suites passed."
