#!/usr/bin/env bash
# The command-line tool's downloads in the dist folder, as a user gets them:
#   entries   each archive holds one folder of its own name with the program
#             and the component library, with the modes a user needs;
#   linux     the Linux one unpacked and run inside the Debian 11 root (an
#             older system than the build's): a payment, then the journal
#             read back as JSON;
#   windows-x86_64, windows-i386
#             the Windows ones unpacked and run under wine (wine64, the
#             32-bit wine) from cmd.exe: the help, a payment, a bad amount
#             (status 2, nothing stored), the journal read back as JSON;
#             skipped (status 77) where there is no 32-bit wine, saying why.
# (Their reproducibility is tested with the add-in package's, in
# packaging_test.cpp.)
#
#   downloads_test.sh entries|linux|windows-x86_64|windows-i386
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dist=${QARVEX_DIST:-$root/dist}
fail() { echo "FAIL: $*" >&2; exit 1; }
one() {  # one PATTERN: the single dist file matching it
  local found=("$dist"/$1)
  [[ ${#found[@]} == 1 && -f ${found[0]} ]] || fail "expected one $1 in $dist (scripts/package.sh makes it), found ${found[*]}"
  echo "${found[0]}"
}
work=$(mktemp -d "$root/build/downloads-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The journal as JSON holds the one payment made, under receipt 000001.
check_journal() {  # check_journal JSON
  local line=$1
  [[ $(grep -o '"receipt_number"' <<<"$line" | wc -l) == 1 ]] &&
    grep -q '"receipt_number":"000001"' <<<"$line" && grep -q '"operation":"ОПЛАТА"' <<<"$line" &&
    grep -q '"kopecks":150000' <<<"$line" || fail "the journal is not the one payment: $line"
}

case ${1:-} in
  entries)
    linux=$(one 'qarvex-termemu-*-linux-x86_64.tar.gz')
    addin=$(one 'qarvex_termemu-*.zip')
    version=$(basename "$addin" .zip)
    version=${version#qarvex_termemu-}
    for arch in x86_64 i386; do
      windows=$(one "qarvex-termemu-*-windows-$arch.zip")
      wname=$(basename "$windows" .zip)
      # The version in the names is the add-in package's.
      [[ $wname == "qarvex-termemu-$version-windows-$arch" ]] || fail "$wname is not of version $version"
      expected="$wname/qarvex-termemu.exe
$wname/qarvex_termemu_windows_$arch.dll"
      [[ $(unzip -Z1 "$windows") == "$expected" ]] || fail "$windows holds: $(unzip -Z1 "$windows")"
      # The library inside is the add-in package's own.
      unzip -q "$windows" -d "$work/w"
      cmp <(unzip -p "$addin" "qarvex_termemu_windows_$arch.dll") "$work/w/$wname/qarvex_termemu_windows_$arch.dll" ||
        fail "the $arch DLL differs from the add-in package's"
    done
    lname=$(basename "$linux" .tar.gz)
    [[ $lname == "qarvex-termemu-$version-linux-x86_64" ]] || fail "$lname is not of version $version"
    expected="$lname/
$lname/qarvex-termemu
$lname/qarvex_termemu_linux_x86_64.so"
    [[ $(tar -tzf "$linux") == "$expected" ]] || fail "$linux holds: $(tar -tzf "$linux")"
    modes=$(tar -tvzf "$linux" | awk '{print $1, $2}')
    [[ $modes == $'drwxr-xr-x 0/0\n-rwxr-xr-x 0/0\n-rw-r--r-- 0/0' ]] || fail "modes and owners: $modes"
    tar -C "$work" -xzf "$linux"
    cmp <(unzip -p "$addin" qarvex_termemu_linux_x86_64.so) "$work/$lname/qarvex_termemu_linux_x86_64.so" ||
      fail "the Linux library differs from the add-in package's"
    "$root/scripts/check-linux-binary.sh" "$work/$lname/qarvex-termemu"
    ;;
  linux)
    source "$root/scripts/lib/debian_root.sh"
    system=$(readlink -f "$QARVEX_ROOTS_DIR/sysroot-x86_64-linux-gnu")
    [[ -d $system && $system != / && ! -f $QARVEX_ROOTS_DIR/sysroot-x86_64-linux-gnu.fallback ]] ||
      fail "no Debian 11 root at $QARVEX_ROOTS_DIR/sysroot-x86_64-linux-gnu (scripts/portable-sysroot.sh x86_64-linux-gnu)"
    linux=$(one 'qarvex-termemu-*-linux-x86_64.tar.gz')
    lname=$(basename "$linux" .tar.gz)
    tar -C "$work" -xzf "$linux"
    tool=$work/$lname/qarvex-termemu
    pay=$(run_in_root "$system" --bind "$work" -- "$tool" --data "$work/data" pay 1500) || fail "pay failed: $pay"
    grep -q "Receipt 000001" <<<"$pay" || fail "no receipt 000001 in: $pay"
    journal=$(run_in_root "$system" --bind "$work" -- "$tool" --data "$work/data" --json journal) || fail "journal failed"
    check_journal "$journal"
    [[ -f $work/data/qarvex_termemu/OperJournal/journal.db3 ]] || fail "no journal in the --data folder"
    echo "ran on $(sed -n 's/^PRETTY_NAME="\(.*\)"/\1/p' "$system/etc/os-release")"
    ;;
  windows-x86_64|windows-i386)
    arch=${1#windows-}
    wine=win64
    if [[ $arch == i386 ]]; then
      wine=win32
      if [[ -f $root/build/wine32-unavailable ]]; then
        echo "skipped: no 32-bit wine here: $(cat "$root/build/wine32-unavailable")"
        exit 77
      fi
    fi
    windows=$(one "qarvex-termemu-*-windows-$arch.zip")
    wname=$(basename "$windows" .zip)
    # One session in cmd.exe, as a Windows user types it: every start of
    # wine finds the common application-data folder empty
    # (scripts/wine-run.sh), so the day runs in one.
    unzip -q "$windows" -d "$work"
    win() { echo "Z:${1//\//\\}"; }
    printf '%s\r\n' '@echo off' "cd /d $(win "$work/$wname")" \
      "qarvex-termemu --help > $(win "$work/help.txt")" \
      "qarvex-termemu pay 1500 > $(win "$work/pay.txt")" \
      "echo %errorlevel% > $(win "$work/pay-status.txt")" \
      "qarvex-termemu pay abc 2> $(win "$work/bad.txt")" \
      "echo %errorlevel% > $(win "$work/bad-status.txt")" \
      "qarvex-termemu --json journal > $(win "$work/journal.json")" >"$work/day.bat"
    "$root/scripts/wine-run.sh" "$wine" cmd /c "$(win "$work/day.bat")" </dev/null || fail "the session in cmd failed"
    grep -q "^Usage: qarvex-termemu" "$work/help.txt" || fail "no usage line in the help: $(cat "$work/help.txt")"
    grep -q "qarvex_termemu_windows_$arch.dll" "$work/help.txt" || fail "the help does not name the $arch DLL"
    grep -q "ОТКЛОНЕНО" "$work/help.txt" || fail "the help's Cyrillic is not UTF-8"
    [[ $(tr -d ' \r\n' <"$work/pay-status.txt") == 0 ]] || fail "pay ended with status $(cat "$work/pay-status.txt")"
    grep -q "Receipt 000001" "$work/pay.txt" || fail "no receipt 000001 in: $(cat "$work/pay.txt")"
    [[ $(tr -d ' \r\n' <"$work/bad-status.txt") == 2 ]] || fail "a bad amount ended with status $(cat "$work/bad-status.txt"), not 2"
    grep -q '"abc" is not an amount' "$work/bad.txt" || fail "the bad amount is not named: $(cat "$work/bad.txt")"
    check_journal "$(cat "$work/journal.json")"
    ;;
  *) echo "usage: downloads_test.sh entries|linux|windows-x86_64|windows-i386" >&2; exit 2 ;;
esac
echo "ok: $1"
