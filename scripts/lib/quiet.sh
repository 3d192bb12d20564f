# Running a step whose output is only wanted when it fails (sourced, not run).
#
#   run_quietly COMMAND [ARG...]
#
# Keeps the command's standard output and error in a temporary file and
# prints them on standard error only when the command fails, then fails
# with its status. A build needs this: ninja writes the compiler's errors to
# standard output, so sending that to /dev/null hid why a build failed.

run_quietly() {
  local log status=0
  log=$(mktemp)
  "$@" >"$log" 2>&1 || status=$?
  if ((status != 0)); then
    cat "$log" >&2
    echo "failed ($status): $*" >&2
  fi
  rm -f "$log"
  return "$status"
}
