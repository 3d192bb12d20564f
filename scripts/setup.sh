#!/usr/bin/env bash
# Installs everything the Linux build, tests and benchmarks need on a fresh
# Debian 12 machine (run as root). Safe to run again.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config
          libsqlite3-dev libpugixml-dev libgtest-dev libgmock-dev googletest libbenchmark-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
