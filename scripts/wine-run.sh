#!/usr/bin/env bash
# Runs a Windows test program under wine, headless:
#   wine-run.sh win32|win64 PROGRAM [ARGS...]
#   wine-run.sh win32|win64 wineserver [ARGS...]   that wine's own server
# Each architecture has its own prefix under build/wine/ (never the user's
# ~/.wine), created on first use under a lock so parallel tests do not race.
#
# The 32-bit wine is the machine's own or, where that could not be installed
# (scripts/setup-windows.sh then names an i386 Debian root in
# build/wine32-root), the root's, entered with chroot. Inside, the source
# tree (with the build folder and the prefix), the X server's socket folder
# and each folder of QARVEX_WINE_BINDS (colon-separated) are seen at their
# own paths. Wine's server opens the files its programs open, in the mount
# namespace it started in: a folder a program reaches must be bound by the
# call that starts the server.
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

# in_wine COMMAND...: runs COMMAND where this architecture's wine lives.
wine_root=""
if [[ $arch == win32 && -f $root/build/wine32-root ]]; then
  wine_root=$(head -1 "$root/build/wine32-root")
  source "$root/scripts/lib/debian_root.sh"
  binds=("$root")
  [[ $WINEPREFIX == "$root"/* ]] || { mkdir -p "$(dirname "$WINEPREFIX")"; binds+=("$(dirname "$WINEPREFIX")"); }
  [[ -n ${DISPLAY:-} && -d /tmp/.X11-unix ]] && binds+=(/tmp/.X11-unix)
  IFS=: read -r -a extra <<<"${QARVEX_WINE_BINDS:-}"
  for dir in "${extra[@]}"; do [[ -n $dir ]] && binds+=("$(realpath "$dir")"); done
  bind_args=()
  for dir in "${binds[@]}"; do bind_args+=(--bind "$dir"); done
  in_wine() { run_in_root "$wine_root" "${bind_args[@]}" -- "$@"; }
else
  in_wine() { "$@"; }
fi

if [[ ${1:-} == wineserver ]]; then
  shift
  in_wine /usr/lib/wine/wineserver "$@"
  exit
fi

if [[ ! -f $WINEPREFIX/system.reg ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
      in_wine "$loader" wineboot --init >/dev/null 2>&1 || true
      in_wine /usr/lib/wine/wineserver -w || true
    fi
  ) 9>"$WINEPREFIX.lock"
fi
# Every start finds the component's data folders (journal, log) empty, as
# every Linux test gets fresh XDG folders; hence the Windows suites run one
# program at a time.
for data in "$WINEPREFIX/drive_c/ProgramData" "$WINEPREFIX"/drive_c/users/*/AppData/Roaming; do
  [[ -d $data ]] && find "$data" -mindepth 1 -maxdepth 1 ! -name Microsoft -exec rm -rf {} +
done
[[ -n $wine_root ]] || exec "$loader" "$@"
in_wine "$loader" "$@"
