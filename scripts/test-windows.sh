#!/usr/bin/env bash
# The Windows stage: set-up (mingw-w64, wine), the third-party libraries
# built from Debian's sources, then for each DLL (x64, x86) the cross build
# and its suite under wine, headless. Prints the stage's duration, and
# records each suite in the test command's summary (scripts/lib/summary.sh).
#
# The x86 suite runs under the machine's own wine32 or, where that cannot be
# installed, under the 32-bit wine of an i386 Debian root that
# scripts/setup-windows.sh makes (scripts/wine-run.sh enters it); only where
# neither can be had does it fall back to the x86 DLL's static checks.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/i386.sh
source scripts/lib/summary.sh
summary_open
stage_failed() { summary_close || true; exit "$1"; }
stage_start=$(date +%s)
jobs=$(nproc)
export WINEDEBUG=-all

scripts/setup-windows.sh
scripts/build-windows-deps.sh

# An X server of the stage's own for the window tests under wine (bounded
# start; without one they are skipped and say so).
unset QARVEX_WINE_DISPLAY
xvfb_pid=""
stop_xvfb() { [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true; }
trap stop_xvfb EXIT
if command -v Xvfb >/dev/null; then
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 150); do
    [[ -s $display_file ]] && break
    sleep 0.1
  done
  if [[ -s $display_file ]]; then
    export QARVEX_WINE_DISPLAY=":$(head -1 "$display_file")"
    echo "X server for the window tests under wine: $QARVEX_WINE_DISPLAY"
  else
    echo "Xvfb did not start: the window tests under wine are skipped"
    stop_xvfb
    xvfb_pid=""
  fi
  rm -f "$display_file"
else
  echo "no Xvfb (Debian package xvfb): the window tests under wine are skipped"
fi

for preset in win64 win32; do
  echo "=== $preset ==="
  start=$(date +%s)
  # Where i386 programs run only under qemu (QARVEX_WINE32_VIA_QEMU=1),
  # over a minute per start, each x86 test program runs once with all its
  # tests; elsewhere every test has its own start, as in the x64 suite, and
  # so finds the component's data folders empty. Without wine32 the same:
  # listing each program's tests would need wine.
  per_program=OFF
  if [[ $preset == win32 ]] && { ! kernel_runs_i386 || [[ -f build/wine32-unavailable ]]; }; then
    per_program=ON
  fi
  cmake --preset "$preset" -DQARVEX_TESTS_PER_PROGRAM=$per_program
  cmake --build --preset "$preset" -j "$jobs"

  if [[ $preset == win32 && -f build/wine32-unavailable ]]; then
    # No wine32 here (setup-windows.sh wrote why): the x86 DLL is still
    # built and its imports and exports checked.
    why=$(cat build/wine32-unavailable)
    echo "win32: suite not run under wine: $why; only the x86 DLL's import and export checks run"
    status=0
    summary_ctest "win32 static checks" --preset "$preset" -R '^windows_dll_imports_and_exports$' || status=$?
    summary_skip "win32 under wine" "$why"
    echo "$preset: $(( $(date +%s) - start )) s"
    ((status == 0)) || stage_failed "$status"
    continue
  fi
  if [[ $preset == win32 && -f build/wine32-root ]]; then
    echo "win32: under the 32-bit wine of the i386 Debian root $(cat build/wine32-root) (the machine's own wine32 could not be installed)"
  fi

  # One wine server for the whole suite, with the prefix's background
  # services started here, outside ctest: a service started by a test
  # program would inherit ctest's output pipe and hold every test open
  # until the server exits.
  export WINEPREFIX=$PWD/build/wine/$preset
  scripts/wine-run.sh "$preset" cmd /c exit </dev/null >/dev/null 2>&1 || true  # creates the prefix
  scripts/wine-run.sh "$preset" wineserver -w </dev/null >/dev/null 2>&1 || true
  scripts/wine-run.sh "$preset" wineserver -p </dev/null >/dev/null 2>&1 || true
  # The desktop's process (explorer) likewise: started by a test, it would
  # hold that test's output for a second after the program ends, when wine
  # closes a desktop nobody uses. A console waiting on a pipe that this
  # script holds keeps the desktop in use until the suite ends.
  exec {desktop_keeper}> >(exec scripts/wine-run.sh "$preset" cmd >/dev/null 2>&1)
  keeper_pid=$!
  scripts/wine-run.sh "$preset" cmd /c exit </dev/null >/dev/null 2>&1 || true  # starts the services
  scripts/wine-run.sh "$preset" explorer /desktop </dev/null >/dev/null 2>&1 &
  explorer_pid=$!
  status=0
  summary_ctest "$preset" --preset "$preset" || status=$?
  exec {desktop_keeper}>&-
  scripts/wine-run.sh "$preset" wineserver -k </dev/null >/dev/null 2>&1 || true
  wait "$keeper_pid" "$explorer_pid" || true
  unset WINEPREFIX
  echo "$preset: $(( $(date +%s) - start )) s"
  ((status == 0)) || stage_failed "$status"
done
echo "Windows stage: $(( $(date +%s) - stage_start )) s"
summary_close
