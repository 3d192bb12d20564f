# Whether wine32 can run here (sourced, not run).
#
# Kernels built without 32-bit emulation refuse i386 programs with "Exec
# format error". kernel_runs_i386 finds out by running a 93-byte static
# i386 program that only exits, so nothing i386 needs to be installed to
# ask. A binfmt_misc entry of ours that hands i386 programs to qemu
# (QARVEX_WINE32_VIA_QEMU=1) would answer for the kernel, so while it is
# enabled the kernel is taken to lack the support (that is why it was
# registered).

qarvex_qemu_binfmt=/proc/sys/fs/binfmt_misc/qarvex-i386

kernel_runs_i386() {
  if [[ -e $qarvex_qemu_binfmt ]] && [[ $(head -1 "$qarvex_qemu_binfmt") == enabled ]]; then
    return 1
  fi
  local probe status=0
  probe=$(mktemp)
  # ELF header, one PT_LOAD program header, then: mov eax,1; xor ebx,ebx; int 0x80
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'\
'\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'\
'\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=1
  rm -f "$probe"
  return "$status"
}

# wine32 is asked for where it can run: natively, or under qemu on request.
wine32_wanted() {
  kernel_runs_i386 || [[ ${QARVEX_WINE32_VIA_QEMU:-0} == 1 ]]
}
