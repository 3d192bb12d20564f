#!/usr/bin/env bash
# Runs a program built for another Linux target inside that target's Debian
# root (scripts/portable-sysroot.sh), as its test emulator: the i386 root
# runs natively here, the ARM64 root under qemu-user (scripts/lib/qemu_binfmt.sh
# registers it). The source tree (build folders included) and /tmp are
# bound at the same paths, so test programs find their files, temporary
# folders and X server socket as they would outside.
#
#   root-run.sh TRIPLE PROGRAM [ARG...]
set -euo pipefail
triple=$1
shift
source_root=$(cd "$(dirname "$0")/.." && pwd)
source "$source_root/scripts/lib/debian_root.sh"
system=$(readlink -f "$QARVEX_ROOTS_DIR/sysroot-$triple")
if [[ ! -d $system || $system == / ]]; then
  echo "root-run.sh: no Debian root for $triple (scripts/portable-sysroot.sh $triple)" >&2
  exit 2
fi
run_in_root "$system" --bind "$source_root" --bind /tmp -- "$@"
