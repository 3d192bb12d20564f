# Package installation shared by the set-up scripts (sourced, not run).
#
#   ensure_packages PACKAGE...
#
# Installs whichever of the packages are missing; silent when none is.
# A failing `apt-get update` is not fatal: one broken index (a mirror
# caught mid-sync, say) must not stop the installation of packages that
# come from the indexes that did arrive. Whether what is needed can be
# installed is left to `apt-get install`; when it cannot, the message names
# the packages and every index that failed to download. The failed indexes
# of the last call are left in APT_FAILED_INDEXES (one per line).

missing_packages() {  # prints the packages of "$@" that are not installed
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

ensure_packages() {
  local missing
  mapfile -t missing < <(missing_packages "$@")
  ((${#missing[@]})) || return 0

  export DEBIAN_FRONTEND=noninteractive
  local update_log failed_indexes=""
  APT_FAILED_INDEXES=""
  update_log=$(mktemp)
  if ! apt-get update -q >"$update_log" 2>&1 || grep -q '^[EW]: Failed to fetch' "$update_log"; then
    failed_indexes=$(sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/\1/p' "$update_log")
    if [[ -n $failed_indexes ]]; then
      echo "apt-get update: some package indexes failed to download; carrying on with the others:" >&2
      sed 's/^/  /' <<<"$failed_indexes" >&2
    else
      echo "apt-get update failed; carrying on with the indexes already on this machine:" >&2
      tail -3 "$update_log" | sed 's/^/  /' >&2
    fi
  fi
  rm -f "$update_log"
  APT_FAILED_INDEXES=$failed_indexes

  if ! apt-get install -y -q --no-install-recommends "${missing[@]}"; then
    echo "error: could not install: ${missing[*]}" >&2
    [[ -z $failed_indexes ]] ||
      echo "       the package indexes that failed to download may be why: $(tr '\n' ' ' <<<"$failed_indexes")" >&2
    return 1
  fi
}
