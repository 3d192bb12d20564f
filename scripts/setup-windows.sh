#!/usr/bin/env bash
# Installs what the Windows cross builds and their tests under wine need on a
# fresh Debian 12 machine (run as root): the mingw-w64 compilers, wine64, a
# deb-src entry so that scripts/build-windows-deps.sh can fetch Debian's
# sqlite3 and pugixml source packages, and wine32 where it can run (see
# scripts/lib/i386.sh). Safe to run again; silent when nothing is missing.
#
# wine32 is optional. When the machine's own i386 packages cannot be
# installed (the i386 security index broken, say), an i386 Debian root with
# wine32 is made with debootstrap and named in build/wine32-root; when that
# cannot be had either, the reason is written to build/wine32-unavailable
# and scripts/test-windows.sh runs only the x86 DLL's static checks.
#
#   setup-windows.sh [--no-wine]    --no-wine: only what the builds need
set -euo pipefail
with_wine=1
[[ ${1:-} == --no-wine ]] && with_wine=0
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/apt.sh"
source "$root/scripts/lib/i386.sh"
export DEBIAN_FRONTEND=noninteractive

# Source packages of the same suite as the binary ones.
src_list=/etc/apt/sources.list.d/qarvex-deb-src.sources
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ &&
   ! grep -qs '^deb-src' /etc/apt/sources.list; then
  cat >"$src_list" <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
fi

ensure_packages mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix \
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 \
  dpkg-dev tcl googletest cmake ninja-build
# wine64 and, for the window tests under it, an X server and fonts.
((with_wine)) && ensure_packages wine wine64 xvfb xauth fonts-liberation
if ! ls /var/lib/apt/lists/*_source_Sources* >/dev/null 2>&1; then
  # The deb-src index; a failure here shows later as apt-get source's.
  apt-get update -q >/dev/null 2>&1 || true
fi

# The posix thread model gives std::thread / std::mutex; its runtime
# (winpthread) is linked statically into the DLLs.
for triple in i686-w64-mingw32 x86_64-w64-mingw32; do
  for tool in gcc g++; do
    if [[ -e /usr/bin/$triple-$tool-posix ]]; then
      update-alternatives --set "$triple-$tool" "/usr/bin/$triple-$tool-posix" >/dev/null
    fi
  done
done

# --- wine32, only where it can run ---------------------------------------
((with_wine)) || exit 0
unavailable=$root/build/wine32-unavailable
root_file=$root/build/wine32-root
mkdir -p "$root/build"
rm -f "$unavailable" "$root_file"
if ! wine32_wanted; then
  echo "this kernel cannot run i386 programs (QARVEX_WINE32_VIA_QEMU=1 runs them under qemu)" >"$unavailable"
  exit 0
fi

# The machine's own wine32 first, tried on every run, so that it is used
# again as soon as its packages install.
own_failure=""
wine32_packages=(wine32:i386)
[[ ${QARVEX_WINE32_VIA_QEMU:-0} == 1 ]] && ! kernel_runs_i386 && wine32_packages+=(qemu-user-static)
if [[ -n $(missing_packages "${wine32_packages[@]}") ]]; then
  added_i386=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    added_i386=1
  fi
  log=$(mktemp)
  if ! ensure_packages "${wine32_packages[@]}" >"$log" 2>&1; then
    reason=${APT_FAILED_INDEXES:+the package index $(head -1 <<<"$APT_FAILED_INDEXES") failed to download}
    own_failure="wine32:i386 could not be installed${reason:+ (${reason})}"
    # Leave the machine as it was: no i386 architecture without i386 packages.
    if ((added_i386)) && [[ -z $(dpkg-query -W -f='${Package}:${Architecture}\n' 2>/dev/null | grep ':i386$') ]]; then
      dpkg --remove-architecture i386 || true
    fi
  fi
  rm -f "$log"
fi

# With QARVEX_WINE32_VIA_QEMU=1 on a kernel without 32-bit support, wine's
# i386 loader runs under qemu's user-mode emulator, registered with
# binfmt_misc for i386 ELF files. That works but costs over a minute per
# program start and many minutes for the prefix, hence not by default.
if [[ -z $own_failure ]] && ! kernel_runs_i386 && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  binfmt=/proc/sys/fs/binfmt_misc
  [[ -e $binfmt/register ]] || mount -t binfmt_misc binfmt_misc "$binfmt"
  if [[ ! -e $qarvex_qemu_binfmt ]]; then
    echo ':qarvex-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      >"$binfmt/register"
  fi
fi
if [[ -z $own_failure ]]; then
  /usr/lib/wine/wine --version >/dev/null 2>&1 && exit 0
  own_failure="wine32 is installed but /usr/lib/wine/wine does not run"
fi

# Otherwise the 32-bit wine of an i386 Debian root, made once from the main
# suite alone (whose index is not the one that failed) and cached outside the
# source tree: Debian 12, whose wine is the version of the machine's wine64,
# or else Debian 11. scripts/wine-run.sh enters it with chroot.
if ! kernel_runs_i386; then
  echo "$own_failure; an i386 root would not run on this kernel either" >"$unavailable"
  exit 0
fi
source "$root/scripts/lib/debian_root.sh"
root_failures=()
for suite in bookworm bullseye; do
  root_packages=(wine wine32 fonts-liberation)
  debian_root_path "$suite" i386 "${root_packages[@]}" >/dev/null ||
    echo "$own_failure: making an i386 Debian $suite root with wine32 instead (once; cached in $QARVEX_ROOTS_DIR)"
  if ensure_debian_root "$suite" i386 "${root_packages[@]}"; then
    if run_in_root "$DEBIAN_ROOT" -- /usr/lib/wine/wine --version >/dev/null 2>&1; then
      echo "$DEBIAN_ROOT" >"$root_file"
      exit 0
    fi
    root_failures+=("the wine of $DEBIAN_ROOT does not run")
  else
    root_failures+=("$DEBIAN_ROOT_FAILURE")
  fi
done
joined=$(printf '; %s' "${root_failures[@]}")
echo "$own_failure; no i386 root with wine32 either: ${joined#; }" >"$unavailable"
