# The command-line tool's downloads, made beside the add-in package by
# scripts/package.sh (sourced there):
#   qarvex-termemu-<version>-windows-x86_64.zip   the tool and the x64 DLL
#   qarvex-termemu-<version>-windows-i386.zip     the x86 tool and the x86 DLL
#   qarvex-termemu-<version>-linux-x86_64.tar.gz  the tool and the portable
#                                                 x86_64 library
# each holding one folder of the archive's own name. The libraries are the
# add-in package's own (already checked and stripped); the programs are
# checked here the same way (the Linux one: only glibc's libraries, floor
# 2.17; the Windows one: only system DLLs), then stripped. Fixed order,
# times, modes and owners, as in the add-in package, so the same binaries
# give the same bytes.
#
#   make_downloads STAGED VERSION OUT
#     STAGED   the add-in package's staged contents (its libraries)
#     OUT      folder that receives the two archives
# Reads QARVEX_PACKAGE_TOOL_WIN64, QARVEX_PACKAGE_TOOL_WIN32 and
# QARVEX_PACKAGE_TOOL_LINUX (default: the win64, win32 and linux-portable
# builds' programs) and SOURCE_DATE_EPOCH.

# The DLLs a Windows program may import: those every Windows has.
windows_system_dlls='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|shlwapi|version|ws2_32|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'

check_windows_program() {  # check_windows_program TRIPLE FILE: a program of TRIPLE's format importing system DLLs only
  local triple=$1 file=$2 format headers imports bad
  format=pei-x86-64
  [[ $triple == i686-* ]] && format=pei-i386
  headers=$("$triple-objdump" -p "$file" 2>/dev/null) || headers=""
  if ! grep -q "file format $format\$" <<<"$headers" || grep -qx $'\tDLL' <<<"$headers"; then
    echo "package.sh: wrong binary for the Windows tool: $file is not a $format program" >&2
    return 1
  fi
  imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')
  bad=$(grep -Ev "$windows_system_dlls" <<<"$imports" || true)
  [[ -z $bad ]] || { echo "package.sh: $file imports DLLs that Windows does not ship: $bad" >&2; return 1; }
}

windows_zip() {  # windows_zip TRIPLE ARCH TOOL STAGED VERSION OUT
  local triple=$1 arch=$2 tool=$3 staged=$4 version=$5 out=$6
  local name=qarvex-termemu-$version-windows-$arch dll=qarvex_termemu_windows_$arch.dll
  mkdir -p "$out/$name.d/$name"
  cp "$tool" "$out/$name.d/$name/qarvex-termemu.exe"
  "$triple-strip" --strip-all "$out/$name.d/$name/qarvex-termemu.exe"
  cp "$staged/$dll" "$out/$name.d/$name/"
  (
    cd "$out/$name.d"
    local entries=("$name/qarvex-termemu.exe" "$name/$dll")
    chmod 0755 "$name/qarvex-termemu.exe"
    chmod 0644 "$name/$dll"
    TZ=UTC touch -d "@$SOURCE_DATE_EPOCH" "${entries[@]}"
    TZ=UTC zip -X -D -q -9 "$out/$name.zip" "${entries[@]}"
  )
  rm -rf "$out/$name.d"
}

check_linux_program() {  # check_linux_program FILE: an ELF x86-64 program (one with an interpreter)
  local file=$1 headers
  headers=$(readelf -hl "$file" 2>/dev/null) || headers=""
  if ! grep -q "Class: *ELF64" <<<"$headers" || ! grep -q "Machine: *Advanced Micro Devices X86-64" <<<"$headers" ||
     ! grep -q "INTERP" <<<"$headers"; then
    echo "package.sh: wrong binary for the Linux tool: $file is not an ELF x86-64 program" >&2
    return 1
  fi
  "$root/scripts/check-linux-binary.sh" "$file" >/dev/null
}

make_downloads() {
  local staged=$1 version=$2 out=$3
  local win_tool=${QARVEX_PACKAGE_TOOL_WIN64:-$root/build/win64/qarvex-termemu.exe}
  local win32_tool=${QARVEX_PACKAGE_TOOL_WIN32:-$root/build/win32/qarvex-termemu.exe}
  local linux_tool=${QARVEX_PACKAGE_TOOL_LINUX:-$root/build/linux-portable/qarvex-termemu}
  local name file
  for file in "$win_tool" "$win32_tool" "$linux_tool"; do
    [[ -f $file ]] || { echo "package.sh: missing program for the downloads: $file" >&2; return 1; }
  done
  check_windows_program x86_64-w64-mingw32 "$win_tool"
  check_windows_program i686-w64-mingw32 "$win32_tool"
  check_linux_program "$linux_tool"

  windows_zip x86_64-w64-mingw32 x86_64 "$win_tool" "$staged" "$version" "$out"
  windows_zip i686-w64-mingw32 i386 "$win32_tool" "$staged" "$version" "$out"

  # Linux: the program and the portable x86_64 library.
  name=qarvex-termemu-$version-linux-x86_64
  mkdir -p "$out/$name.d/$name"
  cp "$linux_tool" "$out/$name.d/$name/qarvex-termemu"
  strip --strip-all "$out/$name.d/$name/qarvex-termemu"
  cp "$staged/qarvex_termemu_linux_x86_64.so" "$out/$name.d/$name/"
  chmod 0755 "$out/$name.d/$name" "$out/$name.d/$name/qarvex-termemu"
  chmod 0644 "$out/$name.d/$name/qarvex_termemu_linux_x86_64.so"
  tar -C "$out/$name.d" --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$SOURCE_DATE_EPOCH" \
    --format=gnu -cf - "$name" | gzip -n -9 >"$out/$name.tar.gz"
  rm -rf "$out/$name.d"
}
