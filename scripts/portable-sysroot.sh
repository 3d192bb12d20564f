#!/usr/bin/env bash
# The roots the portable Linux libraries are built against: Debian 11
# ("bullseye", glibc 2.31, GCC 10's C++ library), the oldest suite Debian's
# archive still serves, one per target, made once with debootstrap and
# cached outside the source tree (scripts/lib/debian_root.sh). Each is
# reached through the link sysroot-<triple> in the cache, which the
# toolchain files read. The x86_64 and i386 roots are whole systems that run
# here (the kernel runs i386 programs) and carry g++ 10, so a test host can
# be built inside them with that system's own compiler; the ARM64 root is
# only unpacked (debootstrap --foreign, nothing of it run here), enough to
# compile against and to run programs in under qemu-user.
#
#   scripts/portable-sysroot.sh TRIPLE...   x86_64-linux-gnu, i686-linux-gnu, aarch64-linux-gnu
#
# Where the x86_64 root cannot be made (the archive may one day retire
# bullseye), the link points at the machine's own system instead: the
# library is still self-contained, but its glibc floor is this system's.
# That is never silent: one line says so here, the reason is kept in
# sysroot-x86_64-linux-gnu.fallback, and the tests that need the old root say
# they were skipped and why. The other processors have no such fallback
# (this machine's system is not theirs): the script fails, saying why.
# Quiet when every root is there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/debian_root.sh"
suite=${QARVEX_PORTABLE_SUITE:-bullseye}

(($#)) || { echo "usage: scripts/portable-sysroot.sh TRIPLE..." >&2; exit 2; }
for triple in "$@"; do
  link=$QARVEX_ROOTS_DIR/sysroot-$triple
  fallback=$link.fallback
  case $triple in
    x86_64-linux-gnu) arch=amd64 ;;
    i686-linux-gnu) arch=i386 ;;
    aarch64-linux-gnu) arch=arm64 ;;
    *) echo "portable-sysroot.sh: unknown target '$triple'" >&2; exit 2 ;;
  esac
  made=0
  if [[ $arch == arm64 ]]; then
    # binutils for the tests that strip and rewrite a library of their own.
    ensure_debian_root "$suite" "$arch" --foreign libc6-dev libstdc++-10-dev libgcc-10-dev libgtk-3-dev binutils &&
      made=1
  else
    # dbus-x11 names the session bus that GTK's settings back end needs,
    # which debootstrap does not choose by itself among the alternatives.
    ensure_debian_root "$suite" "$arch" g++ libgtk-3-dev dbus-x11 && made=1
  fi
  mkdir -p "$QARVEX_ROOTS_DIR"
  if ((made)); then
    [[ $(readlink "$link" 2>/dev/null) == "$DEBIAN_ROOT" ]] || ln -sfn "$DEBIAN_ROOT" "$link"
    rm -f "$fallback"
  elif [[ $triple != x86_64-linux-gnu ]]; then
    echo "$triple: no Debian $suite root: $DEBIAN_ROOT_FAILURE" >&2
    exit 1
  else
    [[ $(readlink "$link" 2>/dev/null) == / ]] || ln -sfn / "$link"
    echo "$DEBIAN_ROOT_FAILURE" >"$fallback"
    echo "$triple: no Debian $suite root ($DEBIAN_ROOT_FAILURE); building against this machine's own system, whose glibc is $(ldd --version | head -1 | awk '{print $NF}')" >&2
  fi
done
