# ARM64 programs run here under qemu-user (sourced, not run).
#
#   qemu_binfmt_acquire     makes the kernel hand ARM64 programs to Debian's
#                           qemu-aarch64-static, for programs inside a root
#                           too (the interpreter is opened once, at
#                           registration: the F flag). Mounts binfmt_misc
#                           and registers an entry of ours only where the
#                           machine has neither; returns 1 with
#                           QEMU_BINFMT_FAILURE set when it cannot.
#   qemu_binfmt_release     takes back exactly what acquire added, so the
#                           machine is left as it was.

qemu_binfmt_dir=/proc/sys/fs/binfmt_misc
qemu_binfmt_entry=$qemu_binfmt_dir/qarvex-aarch64
qemu_binfmt_mounted=0
qemu_binfmt_registered=0

qemu_binfmt_handles_aarch64() {  # an enabled entry for 64-bit little-endian ELF, machine 183
  local entry
  for entry in "$qemu_binfmt_dir"/*; do
    [[ -f $entry && $(basename "$entry") != register && $(basename "$entry") != status ]] || continue
    [[ $(head -1 "$entry") == enabled ]] || continue
    grep -q '^magic 7f454c460201010000000000000000000200b700' "$entry" && return 0
  done
  return 1
}

qemu_binfmt_acquire() {
  QEMU_BINFMT_FAILURE=""
  if [[ ! -x /usr/bin/qemu-aarch64-static ]]; then
    QEMU_BINFMT_FAILURE="qemu-aarch64-static is not installed (Debian package qemu-user-static)"
    return 1
  fi
  if [[ ! -e $qemu_binfmt_dir/register ]]; then
    if ! mount -t binfmt_misc binfmt_misc "$qemu_binfmt_dir" 2>/dev/null; then
      QEMU_BINFMT_FAILURE="binfmt_misc cannot be mounted here"
      return 1
    fi
    qemu_binfmt_mounted=1
  fi
  qemu_binfmt_handles_aarch64 && return 0
  if ! printf '%s' ':qarvex-aarch64:M::\x7fELF\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\xb7\x00:\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-aarch64-static:F' \
      >"$qemu_binfmt_dir/register" 2>/dev/null; then
    QEMU_BINFMT_FAILURE="the kernel refused a binfmt_misc entry for qemu-aarch64-static"
    qemu_binfmt_release
    return 1
  fi
  qemu_binfmt_registered=1
}

qemu_binfmt_release() {
  if ((qemu_binfmt_registered)) && [[ -e $qemu_binfmt_entry ]]; then
    echo -1 >"$qemu_binfmt_entry" || true
  fi
  qemu_binfmt_registered=0
  if ((qemu_binfmt_mounted)); then
    umount "$qemu_binfmt_dir" || true
  fi
  qemu_binfmt_mounted=0
}
