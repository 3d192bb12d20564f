#!/usr/bin/env bash
# Set-up, build and the main job: a cashier's day. The cashier_day program
# loads the built component through the replacement host, as the 1C platform
# does, and runs connect, payment, return, pre-authorisation and its
# confirmation, a cancellation, a declined payment, an emergency reversal,
# the journal report, settlement and disconnect, printing every call, its
# out-parameters and every slip. The component's data folders point into
# build/ so no real journal is touched.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset linux
cmake --build --preset linux -j 2 --target cashier_day
build/linux/tools/cashier_day/cashier_day --data "$PWD/build/linux/demo-data" build/linux/qarvex_termemu.so
