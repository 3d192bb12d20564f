#!/usr/bin/env bash
# Installs what the Windows cross builds and their tests under wine need on a
# fresh Debian 12 machine (run as root): the mingw-w64 compilers, wine for
# both architectures (i386 enabled for wine32) and a deb-src entry so that
# scripts/build-windows-deps.sh can fetch Debian's sqlite3 and pugixml
# source packages. Safe to run again.
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive
need_update=0

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

# Source packages of the same suite as the binary ones.
src_list=/etc/apt/sources.list.d/qarvex-deb-src.sources
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ &&
   ! grep -qs '^deb-src' /etc/apt/sources.list; then
  cat >"$src_list" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  need_update=1
fi

packages=(mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
          wine wine32:i386 wine64 qemu-user-static dpkg-dev tcl googletest cmake ninja-build)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((need_update)) || ((${#missing[@]})); then
  apt-get update -q
fi
if ((${#missing[@]})); then
  apt-get install -y -q --no-install-recommends "${missing[@]}"
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

# Kernels built without 32-bit emulation (ia32_emulation off) refuse i386
# programs such as wine's 32-bit loader with "Exec format error". With
# QARVEX_WINE32_VIA_QEMU=1 the loader then runs under qemu's user-mode
# emulator, registered with binfmt_misc for i386 ELF files. That works but
# costs over a minute per program start and many minutes for the prefix, so
# it is not done by default (scripts/test-windows.sh then runs only the
# x86 DLL's static checks).
if [[ ${QARVEX_WINE32_VIA_QEMU:-0} == 1 ]] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  binfmt=/proc/sys/fs/binfmt_misc
  [[ -e $binfmt/register ]] || mount -t binfmt_misc binfmt_misc "$binfmt"
  if [[ ! -e $binfmt/qarvex-i386 ]]; then
    echo ':qarvex-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      >"$binfmt/register"
  fi
  /usr/lib/wine/wine --version >/dev/null
fi
