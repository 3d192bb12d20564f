#!/usr/bin/env bash
# Runs a Windows test program under wine, headless:
#   wine-run.sh win32|win64 PROGRAM [ARGS...]
# Each architecture has its own prefix under build/wine/ (never the user's
# ~/.wine), created on first use under a lock so parallel tests do not race.
set -euo pipefail
arch=$1; shift
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${QARVEX_WINE_PREFIX_ROOT:-$root/build/wine}/$arch
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=$arch
# No Mono or Gecko installer dialogs while the prefix is created.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Headless, unless scripts/test-windows.sh started an X server for the
# window tests (QARVEX_WINE_DISPLAY); wine's windows then appear there.
unset WAYLAND_DISPLAY
if [[ -n ${QARVEX_WINE_DISPLAY:-} ]]; then
  export DISPLAY=$QARVEX_WINE_DISPLAY
else
  unset DISPLAY
fi

case $arch in
  win32) loader=/usr/lib/wine/wine ;;
  win64) loader=/usr/lib/wine/wine64 ;;
  *) echo "wine-run.sh: unknown architecture '$arch'" >&2; exit 2 ;;
esac
export WINELOADER=$loader

if [[ ! -f $WINEPREFIX/system.reg ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
      "$loader" wineboot --init >/dev/null 2>&1 || true
      /usr/lib/wine/wineserver -w || true
    fi
  ) 9>"$WINEPREFIX.lock"
fi
# Every start finds the component's data folders (journal, log) empty, as
# every Linux test gets fresh XDG folders; hence the Windows suites run one
# program at a time.
for data in "$WINEPREFIX/drive_c/ProgramData" "$WINEPREFIX"/drive_c/users/*/AppData/Roaming; do
  [[ -d $data ]] && find "$data" -mindepth 1 -maxdepth 1 ! -name Microsoft -exec rm -rf {} +
done
exec "$loader" "$@"
