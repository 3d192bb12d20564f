#!/usr/bin/env bash
# The package's Linux libraries (x86_64, i386, ARM64), as they come out of
# the add-in package:
#  1. each read like auditwheel reads a wheel (scripts/check-linux-binary.sh):
#     only glibc's libraries, glibc floor 2.17, no C++ runtime versions,
#     exactly the three exports;
#  2. the end-to-end suites of the linux build (label e2e) run against the
#     x86_64 one;
#  3. each run on its own processor and an older system: inside the Debian
#     11 root of its architecture (scripts/portable-sysroot.sh), a test host
#     that links that system's own libstdc++.so.6, older than the C++
#     runtime the component carries inside (as the platform's client brings
#     its own older one), loads the library and runs a day through it:
#     connect, payment, return, cancellation, pre-authorisation and its
#     confirmation, settlement, the log, the journal after an unload
#     (tests/old_linux/old_system_day.cpp). The x86_64 and i386 hosts are
#     compiled inside their roots with the root's own g++ 10; the ARM64 one
#     is compiled here by clang against the ARM64 root and runs there under
#     qemu-user. Roots are entered with chroot in a private mount namespace,
#     so nothing stays mounted.
#
#   scripts/test-portable.sh [ARCHIVE]   (default: the newest dist/qarvex_termemu-*.zip)
#
# Where the x86_64 build had to fall back to this machine's own system (no
# Debian 11 root could be made), the floor checked for it is this system's
# glibc and its run on Debian 11 is skipped, saying why.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/lib/debian_root.sh
source scripts/lib/qemu_binfmt.sh
source scripts/lib/summary.sh
summary_open

archive=${1:-$(ls dist/qarvex_termemu-*.zip 2>/dev/null | sort -V | tail -1)}
[[ -f $archive ]] || { echo "test-portable.sh: no package (run scripts/package.sh first)" >&2; exit 1; }
work=$root/build/portable-check
rm -rf "$work"
mkdir -p "$work"
targets=(x86_64-linux-gnu:x86_64 i686-linux-gnu:i386 aarch64-linux-gnu:arm64)

# --- 1. what each library needs and exports ---------------------------------
# The check itself must be able to fail: the development build links the
# machine's own SQLite, pugixml and C++ runtime, and needs its newer glibc.
if [[ -f build/linux/qarvex_termemu.so ]]; then
  refusal=$(scripts/check-linux-binary.sh --exports build/linux/qarvex_termemu.so) &&
    { echo "the check passed the development build, which needs the machine's own libraries:" >&2; echo "$refusal" >&2; exit 1; }
  for offender in libsqlite3.so.0 GLIBCXX_ GLIBC_2.3; do
    grep -q "$offender" <<<"$refusal" || { echo "the check did not name $offender in the development build:" >&2; echo "$refusal" >&2; exit 1; }
  done
fi
echo "=== the Linux libraries of $(basename "$archive"): what they need and what they export ==="
for target in "${targets[@]}"; do
  triple=${target%%:*} arch=${target#*:}
  member=qarvex_termemu_linux_$arch.so
  unzip -q "$archive" "$member" -d "$work"
  floor=2.17
  fallback=$QARVEX_ROOTS_DIR/sysroot-$triple.fallback
  if [[ -f $fallback ]]; then
    floor=$(ldd --version | head -1 | awk '{print $NF}')
    echo "$member was built against this machine's own system ($(cat "$fallback")): its glibc floor is $floor"
  fi
  scripts/check-linux-binary.sh --glibc-floor "$floor" --exports "$work/$member"
  summary_ok "$member needs and exports" "glibc floor $floor, the three exports"
done

# --- 2. the end-to-end suites against the x86_64 library --------------------
echo "=== linux end-to-end suites against qarvex_termemu_linux_x86_64.so ==="
status=0
QARVEX_COMPONENT_UNDER_TEST=$work/qarvex_termemu_linux_x86_64.so \
  summary_ctest "linux e2e against the packaged x86_64 library" --preset linux -L e2e -j "$(nproc)" || status=$?
((status == 0)) || { summary_close || true; exit "$status"; }

# --- 3. a day on Debian 11 of each architecture ------------------------------
trap qemu_binfmt_release EXIT
host_sources=(tests/old_linux/old_system_day.cpp tools/host/host_value.cpp tools/host/replacement_host_common.cpp
              tools/host/linux/replacement_host_linux.cpp)
for target in "${targets[@]}"; do
  triple=${target%%:*} arch=${target#*:}
  member=qarvex_termemu_linux_$arch.so
  echo "=== $member on Debian 11 ($arch) ==="
  link=$QARVEX_ROOTS_DIR/sysroot-$triple
  if [[ -f $link.fallback ]]; then
    echo "skipped: no Debian 11 root to run in ($(cat "$link.fallback"))"
    summary_skip "$member on Debian 11" "no Debian 11 root to run in ($(cat "$link.fallback"))"
    continue
  fi
  system=$(readlink -f "$link")
  [[ -d $system && $system != / ]] || { echo "test-portable.sh: no root at $link (run scripts/portable-sysroot.sh $triple)" >&2; exit 1; }
  host=$work/old_system_day_$arch
  data=$work/data-$arch
  mkdir -p "$data"
  if [[ $arch == arm64 ]]; then
    qemu_binfmt_acquire || { echo "test-portable.sh: ARM64 programs cannot run here: $QEMU_BINFMT_FAILURE" >&2; exit 1; }
    echo "Building the test host with clang against $(sed -n 's/^PRETTY_NAME="\(.*\)"/\1/p' "$system/etc/os-release") (arm64)"
    clang++-14 --target="$triple" --sysroot="$system" -fuse-ld=lld -std=c++20 -O1 -I. "${host_sources[@]}" \
      -ldl -o "$host"
  else
    echo "Building the test host inside $(sed -n 's/^PRETTY_NAME="\(.*\)"/\1/p' "$system/etc/os-release") ($arch) with its own g++"
    run_in_root "$system" --bind "$root" -- /bin/sh -c "g++ -std=c++20 -O1 -I. ${host_sources[*]} -ldl -o '$host'"
  fi
  runtime=$(readlink -f "$(find "$system/usr/lib" -name 'libstdc++.so.6' | head -1)")
  echo "Running the day: the host on ${runtime#"$system"}"
  day=0
  output=$(run_in_root "$system" --bind "$root" -- "$host" "$work/$member" "$data" 2>&1) || day=$?
  echo "$output"
  read -r passed total < <(sed -n 's/^\([0-9]*\) of \([0-9]*\) checks passed$/\1 \2/p' <<<"$output") || true
  if ((day != 0)) || [[ -z ${total:-} ]]; then
    summary_fail "$member on Debian 11" "${total:+$passed of $total checks passed}"
    summary_close || true
    exit 1
  fi
  summary_record "$member on Debian 11" "$passed" "$total"
done
summary_close
