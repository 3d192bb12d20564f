#!/usr/bin/env bash
# Builds the add-in package that the 1C platform and its equipment library
# install: dist/qarvex_termemu-<version>.zip with the Windows x86 and x64
# DLLs, the portable Linux x86_64, i386 and ARM64 libraries, MANIFEST.XML
# and INFO.XML; and beside it the command-line tool's three downloads,
# dist/qarvex-termemu-<version>-windows-x86_64.zip, -windows-i386.zip and
# -linux-x86_64.tar.gz (scripts/lib/downloads.sh).
#
#   scripts/package.sh [--no-build] [--dist DIR]
#
#   --no-build   package the binaries already built (default: set-up and
#                build all five first; the Linux libraries are portable
#                builds, made against Debian 11 roots: see
#                scripts/portable-sysroot.sh)
#   --dist DIR   where the archive goes (default: dist/)
#   QARVEX_PACKAGE_WIN32, QARVEX_PACKAGE_WIN64, QARVEX_PACKAGE_LINUX,
#   QARVEX_PACKAGE_LINUX_I386, QARVEX_PACKAGE_LINUX_ARM64
#                other binaries to package instead of the built ones
#   QARVEX_PACKAGE_TOOL_WIN64, QARVEX_PACKAGE_TOOL_WIN32, QARVEX_PACKAGE_TOOL_LINUX
#                other programs for the downloads
#
# The binaries are checked, stripped (no debug information, hence no build
# paths) and described by tools/package (qarvex_package), then zipped with
# Info-ZIP's zip in a fixed order, with fixed times and modes and no extra
# fields, so the same sources give a byte-identical archive. The archive is
# written beside its final name and renamed into place only when complete:
# a failed run leaves nothing in the dist folder.
#
# Prints the four files' paths, the add-in package's last.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=1
dist=$root/dist
while (($#)); do
  case $1 in
    --no-build) build=0 ;;
    --dist) dist=$(realpath -m "$2"); shift ;;
    *) echo "usage: scripts/package.sh [--no-build] [--dist DIR]" >&2; exit 2 ;;
  esac
  shift
done

if ((build)); then
  . scripts/lib/quiet.sh
  scripts/setup.sh
  scripts/setup-windows.sh --no-wine
  scripts/portable-sysroot.sh x86_64-linux-gnu i686-linux-gnu aarch64-linux-gnu
  run_quietly scripts/build-deps.sh i686-w64-mingw32 x86_64-w64-mingw32 x86_64-linux-gnu i686-linux-gnu aarch64-linux-gnu
  for preset in linux linux-portable linux-i386 linux-arm64 win32 win64; do
    run_quietly cmake --preset "$preset"
    targets=(qarvex_termemu)
    [[ $preset == linux ]] && targets=(qarvex_package)
    # The command-line tool's downloads: Windows x64 and x86, portable Linux x86_64.
    [[ $preset == win64 || $preset == win32 || $preset == linux-portable ]] && targets+=(qarvex-termemu)
    run_quietly cmake --build --preset "$preset" -j "$(nproc)" --target "${targets[@]}"
  done
fi

linux=${QARVEX_PACKAGE_LINUX:-build/linux-portable/qarvex_termemu.so}
linux_i386=${QARVEX_PACKAGE_LINUX_I386:-build/linux-i386/qarvex_termemu.so}
linux_arm64=${QARVEX_PACKAGE_LINUX_ARM64:-build/linux-arm64/qarvex_termemu.so}
win32=${QARVEX_PACKAGE_WIN32:-build/win32/qarvex_termemu.dll}
win64=${QARVEX_PACKAGE_WIN64:-build/win64/qarvex_termemu.dll}
packager=build/linux/tools/package/qarvex_package
[[ -x $packager ]] || { echo "package.sh: $packager is not built (run without --no-build)" >&2; exit 1; }

mkdir -p "$dist"
work=$(mktemp -d "$dist/.package.XXXXXX")
trap 'rm -rf "$work"' EXIT
# One fixed time for everything dated inside the archive: the entries, and
# the PE headers that strip rewrites (it takes SOURCE_DATE_EPOCH).
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)}
version=$("$packager" --stage "$work/contents" --windows-i386 "$win32" --windows-x86_64 "$win64" \
  --linux-x86_64 "$linux" --linux-i386 "$linux_i386" --linux-arm64 "$linux_arm64")

# Fixed entry order, times and modes; -X drops the extra fields that carry
# owners and precise times, -D the folder entries.
entries=(MANIFEST.XML INFO.XML qarvex_termemu_windows_i386.dll qarvex_termemu_windows_x86_64.dll
         qarvex_termemu_linux_x86_64.so qarvex_termemu_linux_i386.so qarvex_termemu_linux_arm64.so)
(
  cd "$work/contents"
  chmod 0644 "${entries[@]}"
  TZ=UTC touch -d "@$SOURCE_DATE_EPOCH" "${entries[@]}"
  TZ=UTC zip -X -D -q -9 "$work/package.zip" "${entries[@]}"
)
. scripts/lib/downloads.sh
mkdir -p "$work/downloads"
make_downloads "$work/contents" "$version" "$work/downloads"

for download in "$work/downloads"/*; do
  mv "$download" "$dist/"
  echo "$dist/$(basename "$download")"
done
archive=$dist/qarvex_termemu-$version.zip
mv "$work/package.zip" "$archive"
echo "$archive"
