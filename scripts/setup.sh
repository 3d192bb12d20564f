#!/usr/bin/env bash
# Installs everything the Linux build, tests and benchmarks need on a fresh
# Debian 12 machine (run as root). Safe to run again; silent when nothing
# is missing.
set -euo pipefail
source "$(dirname "$0")/lib/apt.sh"
ensure_packages build-essential cmake ninja-build pkg-config \
  zip unzip libsqlite3-dev libpugixml-dev libgtest-dev libgmock-dev googletest libbenchmark-dev \
  nlohmann-json3-dev clang-14 libclang-rt-14-dev
# The portable Linux libraries: clang 14 with lld against Debian 11 roots
# made with debootstrap (scripts/portable-sysroot.sh), binutils for the
# other processors (the packager strips with them), and qemu-user for
# running the ARM64 suites.
ensure_packages lld-14 debootstrap binutils-i686-linux-gnu binutils-aarch64-linux-gnu qemu-user-static
# The windows on Linux: GTK 3's headers (the component never links GTK; it
# loads it when a window opens) and, for their tests, GTK 3 itself, an X
# server of their own (Xvfb), real input (XTest), Courier New's metric twin,
# pdftotext for printed pages, and GTK 2 for the test of a host running it.
ensure_packages libgtk-3-dev libgtk-3-0 libxtst-dev xvfb xauth fonts-liberation poppler-utils libgtk2.0-0
