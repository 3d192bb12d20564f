#!/usr/bin/env bash
# Set-up, build and the main job. First the add-in package that users
# install (dist/qarvex_termemu-<version>.zip: both Windows DLLs and the Linux
# library, see scripts/package.sh); then a cashier's day against the Linux
# library taken out of that package, so what a user installs is what just
# worked. The cashier_day program loads it through the replacement host, as
# the 1C platform does, and runs connect, payment, return,
# pre-authorisation and its confirmation, a cancellation, a declined
# payment, an emergency reversal, the journal report, settlement and
# disconnect, printing every call, its out-parameters and every slip. The
# component's data folders point into build/ so no real journal is touched.
set -euo pipefail
cd "$(dirname "$0")/.."
# package.sh's output is shown as it comes (through an inherited descriptor:
# reopening /dev/stderr would truncate a log file it is redirected to), and
# its last line, the archive's path, kept.
archive=$(scripts/package.sh | tee >(cat >&2) | tail -n 1)
. scripts/lib/quiet.sh
run_quietly cmake --build --preset linux -j "$(nproc)" --target cashier_day
unpacked=build/demo-package
rm -rf "$unpacked"
unzip -q "$archive" qarvex_termemu_linux_x86_64.so -d "$unpacked"
echo "Running the cashier's day against $unpacked/qarvex_termemu_linux_x86_64.so from $archive"
build/linux/tools/cashier_day/cashier_day --data "$PWD/build/linux/demo-data" "$unpacked/qarvex_termemu_linux_x86_64.so"
