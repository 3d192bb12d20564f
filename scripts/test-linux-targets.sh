#!/usr/bin/env bash
# The Linux i386 and ARM64 builds and their suites, each on its own
# processor: built by clang against the Debian 11 root of the target
# (presets linux-i386 and linux-arm64), and run inside that root, the i386
# programs natively (this kernel runs them), the ARM64 ones under qemu-user
# (binfmt_misc mounted and an entry registered only where the machine lacks
# them, and taken back afterwards). The window tests (label window) need an
# X server of their own and run on x86_64 only. Prints each stage's time.
#
#   scripts/test-linux-targets.sh [i386] [arm64]   (default: both)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/qemu_binfmt.sh
source scripts/lib/summary.sh
summary_open
trap qemu_binfmt_release EXIT
jobs=$(nproc)
arches=("$@")
((${#arches[@]})) || arches=(i386 arm64)

for arch in "${arches[@]}"; do
  case $arch in
    i386) triple=i686-linux-gnu ;;
    arm64) triple=aarch64-linux-gnu ;;
    *) echo "usage: scripts/test-linux-targets.sh [i386] [arm64]" >&2; exit 2 ;;
  esac
  preset=linux-$arch
  echo "=== $preset ==="
  start=$(date +%s)
  scripts/portable-sysroot.sh "$triple"
  scripts/build-deps.sh "$triple" >/dev/null
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  built=$(date +%s)
  if [[ $arch == arm64 ]]; then
    qemu_binfmt_acquire || { echo "$preset: ARM64 programs cannot run here: $QEMU_BINFMT_FAILURE" >&2; exit 1; }
  fi
  status=0
  summary_ctest "$preset" --preset "$preset" -j "$jobs" || status=$?
  echo "$preset: built in $((built - start)) s, tested in $(($(date +%s) - built)) s"
  ((status == 0)) || { summary_close || true; exit "$status"; }
done
summary_close
