#!/usr/bin/env bash
# Set-up, build and the main job: the command-line host loads the built
# component and runs a session through the Native API, saying what happened.
# The component's data folders point into build/ so no real folder is touched.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset linux
cmake --build --preset linux -j "$(nproc)" --target termemu_host
data="$PWD/build/linux/demo-data"
mkdir -p "$data/machine" "$data/user"
XDG_DATA_DIRS="$data/machine" XDG_DATA_HOME="$data/user" \
  build/linux/tools/host/termemu_host build/linux/qarvex_termemu.so
