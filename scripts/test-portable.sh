#!/usr/bin/env bash
# The portable Linux library, as it comes out of the add-in package:
#  1. read like auditwheel reads a wheel (scripts/check-linux-binary.sh):
#     only glibc's libraries, glibc floor 2.17, no C++ runtime versions,
#     exactly the three exports;
#  2. the end-to-end suites of the linux build (label e2e) run against it;
#  3. on an older system: inside the Debian 11 root the library was built
#     against (scripts/portable-sysroot.sh), a test host is compiled with
#     that system's own g++ 10 and runs against that system's own
#     libstdc++.so.6, older than the C++ runtime the component carries
#     inside, as the platform's client brings its own older one. The host
#     loads the library and runs a day through it
#     (tests/old_linux/old_system_day.cpp). The root is entered with chroot
#     in a private mount namespace, so nothing stays mounted.
#
#   scripts/test-portable.sh [ARCHIVE]   (default: the newest dist/qarvex_termemu-*.zip)
#
# Where the build had to fall back to this machine's own system (no Debian
# 11 root could be made), the floor checked is this system's glibc and
# there is no older system to run on: step 3 is skipped, saying why.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/lib/debian_root.sh
triple=x86_64-linux-gnu
member=qarvex_termemu_linux_x86_64.so
link=$QARVEX_ROOTS_DIR/sysroot-$triple

archive=${1:-$(ls dist/qarvex_termemu-*.zip 2>/dev/null | sort -V | tail -1)}
[[ -f $archive ]] || { echo "test-portable.sh: no package (run scripts/package.sh first)" >&2; exit 1; }
work=$root/build/portable-check
rm -rf "$work"
mkdir -p "$work/data"
unzip -q "$archive" "$member" -d "$work"
library=$work/$member

floor=2.17
if [[ -f $link.fallback ]]; then
  floor=$(ldd --version | head -1 | awk '{print $NF}')
  echo "The library was built against this machine's own system ($(cat "$link.fallback")): its glibc floor is $floor"
fi
echo "=== $member: what it needs and what it exports ==="
scripts/check-linux-binary.sh --glibc-floor "$floor" --exports "$library"

# The check itself must be able to fail: the development build links the
# machine's own SQLite, pugixml and C++ runtime, and needs its newer glibc.
if [[ -f build/linux/qarvex_termemu.so ]]; then
  refusal=$(scripts/check-linux-binary.sh --exports build/linux/qarvex_termemu.so) &&
    { echo "the check passed the development build, which needs the machine's own libraries:" >&2; echo "$refusal" >&2; exit 1; }
  for offender in libsqlite3.so.0 GLIBCXX_ GLIBC_2.3; do
    grep -q "$offender" <<<"$refusal" || { echo "the check did not name $offender in the development build:" >&2; echo "$refusal" >&2; exit 1; }
  done
fi

echo "=== linux end-to-end suites against $member ==="
QARVEX_COMPONENT_UNDER_TEST=$library ctest --preset linux -L e2e -j "$(nproc)"

echo "=== $member on Debian 11 ==="
if [[ -f $link.fallback ]]; then
  echo "skipped: no Debian 11 root to run in ($(cat "$link.fallback"))"
  exit 0
fi
[[ -d $link/ ]] || { echo "test-portable.sh: no root at $link (run scripts/portable-sysroot.sh $triple)" >&2; exit 1; }
system=$(readlink -f "$link")

sources=(tests/old_linux/old_system_day.cpp tools/host/host_value.cpp tools/host/replacement_host_common.cpp
         tools/host/linux/replacement_host_linux.cpp)
echo "Building the test host inside $(sed -n 's/^PRETTY_NAME="\(.*\)"/\1/p' "$system/etc/os-release") with its own g++"
run_in_root "$system" --bind "$root" -- /bin/sh -c \
  "cd '$root' && g++ -std=c++20 -O1 -I. ${sources[*]} -ldl -o '$work/old_system_day'"
runtime=$(run_in_root "$system" -- /bin/sh -c 'readlink -f "$(ldconfig -p | sed -n "s/.*libstdc++.so.6 .*=> //p" | head -1)"')
echo "Running the day against $member from $archive, the host on $runtime"
run_in_root "$system" --bind "$root" -- "$work/old_system_day" "$library" "$work/data"
