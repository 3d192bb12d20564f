#!/usr/bin/env bash
# Installs everything the Linux build, tests and benchmarks need on a fresh
# Debian 12 machine (run as root). Safe to run again; silent when nothing
# is missing.
set -euo pipefail
source "$(dirname "$0")/lib/apt.sh"
ensure_packages build-essential cmake ninja-build pkg-config \
  libsqlite3-dev libpugixml-dev libgtest-dev libgmock-dev googletest libbenchmark-dev \
  clang-14 libclang-rt-14-dev
