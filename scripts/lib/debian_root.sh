# Debian roots made with debootstrap (sourced, not run): older systems and
# other architectures, used as build roots (sysroots of the cross builds)
# and as test machines (entered with chroot).
#
#   ensure_debian_root SUITE ARCH [--foreign] [PACKAGE...]
#       Makes the root once and caches it outside the source tree, in
#       $QARVEX_ROOTS_DIR (default /var/cache/qarvex-termemu/roots), as
#       SUITE-ARCH[-tag]; the tag is derived from the package list, so roots
#       with other contents never share a folder. Silent when the root is
#       there. Sets DEBIAN_ROOT to its path and returns 0; otherwise returns
#       1 with DEBIAN_ROOT_FAILURE set to one line saying why (debootstrap's
#       log is kept beside the cache). Only the main suite of the archive is
#       used, never its security index.
#       debian_root_path (same arguments) prints the root's path and returns
#       0 when it is already made.
#       --foreign unpacks without running the root's own programs (a root of
#       another processor, used only as a sysroot); the packages named are
#       then unpacked into it too.
#
#   run_in_root ROOT [--bind DIR]... -- COMMAND [ARG...]
#       Runs COMMAND in ROOT with chroot, with /proc, /dev and each DIR (at
#       the same path inside) mounted in a private mount namespace: nothing
#       stays mounted when the command ends, whatever way it ends (a daemon
#       the command leaves behind keeps its namespace, and the mounts in
#       it, until it exits). The command starts in the current folder
#       where that is inside a bound one, else in /; the environment is
#       passed on as it is.
#
# Roots are made under a lock, in a folder beside the final one that is
# renamed into place only when complete, so an interrupted run leaves no
# half-made root behind.

QARVEX_ROOTS_DIR=${QARVEX_ROOTS_DIR:-/var/cache/qarvex-termemu/roots}
QARVEX_DEBIAN_MIRROR=${QARVEX_DEBIAN_MIRROR:-http://deb.debian.org/debian}

# debian_root_path SUITE ARCH [--foreign] [PACKAGE...]: where that root is
# or will be; returns 0 when it is there.
debian_root_path() {
  local suite=$1 arch=$2 foreign=0
  shift 2
  if [[ ${1:-} == --foreign ]]; then foreign=1; shift; fi
  local tag=""
  (($#)) && tag=-$(printf '%s\n' "$@" | sort | md5sum | cut -c1-8)
  ((foreign)) && tag+=-foreign
  echo "$QARVEX_ROOTS_DIR/$suite-$arch$tag"
  [[ -f $QARVEX_ROOTS_DIR/$suite-$arch$tag/.qarvex-root-ready ]]
}

ensure_debian_root() {
  local suite=$1 arch=$2 foreign=0
  DEBIAN_ROOT_FAILURE=""
  DEBIAN_ROOT=$(debian_root_path "$@") && return 0
  shift 2
  if [[ ${1:-} == --foreign ]]; then foreign=1; shift; fi
  local packages=("$@") name
  name=$(basename "$DEBIAN_ROOT")

  if ! command -v debootstrap >/dev/null; then
    # shellcheck source=apt.sh
    source "$(dirname "${BASH_SOURCE[0]}")/apt.sh"
    ensure_packages debootstrap >/dev/null 2>&1 || {
      DEBIAN_ROOT_FAILURE="debootstrap could not be installed"
      return 1
    }
  fi
  mkdir -p "$QARVEX_ROOTS_DIR"
  local log=$QARVEX_ROOTS_DIR/$name.log status=0
  (
    flock 9
    [[ -f $DEBIAN_ROOT/.qarvex-root-ready ]] && exit 0
    local work=$DEBIAN_ROOT.partial
    rm -rf "$work"
    local include=()
    ((${#packages[@]})) && include=("--include=$(IFS=,; echo "${packages[*]}")")
    if ((foreign)); then
      debootstrap --foreign --arch="$arch" --variant=minbase "${include[@]}" \
        "$suite" "$work" "$QARVEX_DEBIAN_MIRROR" >"$log" 2>&1 || exit 1
      # The second stage would run the root's own programs; a sysroot only
      # needs the files, so every downloaded package is unpacked as it is.
      local deb
      for deb in "$work"/var/cache/apt/archives/*.deb; do
        dpkg-deb -x "$deb" "$work" >>"$log" 2>&1 || exit 1
      done
      rm -f "$work"/var/cache/apt/archives/*.deb
    else
      debootstrap --arch="$arch" --variant=minbase "${include[@]}" \
        "$suite" "$work" "$QARVEX_DEBIAN_MIRROR" >"$log" 2>&1 || exit 1
      rm -f "$work"/var/cache/apt/archives/*.deb
    fi
    relative_library_links "$work"
    touch "$work/.qarvex-root-ready"
    rm -rf "$DEBIAN_ROOT"
    mv "$work" "$DEBIAN_ROOT"
  ) 9>"$QARVEX_ROOTS_DIR/$name.lock" || status=$?
  if ((status)); then
    local why
    why=$(grep -E -m1 '^(E|W): ' "$log" 2>/dev/null | cut -c1-200)
    DEBIAN_ROOT_FAILURE="debootstrap of Debian $suite ($arch) failed${why:+: $why} (log: $log)"
    return 1
  fi
  return 0
}

# A root's symbolic links into its own library folders are absolute
# (/lib/x86_64-linux-gnu/libm.so.6); seen from outside, as a compiler's
# sysroot sees them, they would point into the build machine. Each becomes
# relative to where it stands, worked out without resolving any link (an
# absolute one on the way would lead out of the root).
relative_library_links() {
  local root=$1 link target
  while IFS= read -r -d '' link; do
    target=$(readlink "$link")
    [[ $target == /* ]] || continue
    ln -sfn "$(realpath -m -s --relative-to="$(dirname "$link")" "$root$target")" "$link"
  done < <(find "$root/usr/lib" "$root/usr/lib32" "$root/usr/lib64" "$root/usr/libx32" "$root/usr/include" \
    "$root/lib" "$root/lib64" -type l -print0 2>/dev/null)
}

run_in_root() {
  local root=$1 binds=()
  shift
  while (($#)) && [[ $1 != -- ]]; do
    [[ $1 == --bind ]] || { echo "run_in_root: unknown option $1" >&2; return 2; }
    binds+=("$2")
    shift 2
  done
  shift
  unshare --mount --propagation private -- /bin/bash -c '
    set -e
    root=$1; shift
    nbinds=$1; shift
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    for ((i = 0; i < nbinds; i++)); do
      mkdir -p "$root$1"
      mount --bind "$1" "$root$1"
      shift
    done
    wd=$PWD
    [[ -d $root$wd ]] || wd=/
    exec unshare --root="$root" --wd="$wd" "$@"
  ' run_in_root "$root" "${#binds[@]}" "${binds[@]}" "$@"
}
