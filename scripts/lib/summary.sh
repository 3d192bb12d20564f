# The closing lines of the test command (sourced, not run): every suite with
# how many tests ran and passed, every suite that was skipped with why.
#
# Results accumulate in one file (QARVEX_SUMMARY_FILE, exported, default
# build/test-summary), so stages run as separate scripts record into the
# summary of the command that started them.
#
#   summary_open            in every stage script: joins the summary of the
#                           command that started it, or, run on its own,
#                           starts one (SUMMARY_OWNER=1) for summary_close
#   summary_close           prints the summary if this script started it;
#                           returns non-zero when something failed
#   summary_reset           starts an empty summary
#   summary_ctest NAME [CTEST ARGS...]
#                           runs ctest (its output shown as usual) and
#                           records "NAME: P of T tests passed" from ctest's
#                           own count; returns ctest's status
#   summary_record NAME PASSED TOTAL [SKIPPED [SKIPPED TESTS' NAMES]]
#   summary_ok NAME TEXT    a suite that passed, described by TEXT (fuzzing:
#                           its runs, no finding)
#   summary_fail NAME TEXT  a suite that failed, and why
#   summary_skip NAME REASON
#                           a suite that did not run, and why
#   summary_print           prints the closing lines; "All test suites
#                           passed." only when nothing failed or was skipped
#                           (a suite's own skipped tests included); returns
#                           non-zero when something failed

summary_file() {
  echo "${QARVEX_SUMMARY_FILE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/test-summary}"
}

summary_reset() {
  QARVEX_SUMMARY_FILE=$(summary_file)
  export QARVEX_SUMMARY_FILE
  mkdir -p "$(dirname "$QARVEX_SUMMARY_FILE")"
  : >"$QARVEX_SUMMARY_FILE"
}

summary_open() {
  SUMMARY_OWNER=0
  if [[ -z ${QARVEX_SUMMARY_FILE:-} ]]; then
    summary_reset
    SUMMARY_OWNER=1
  fi
}

summary_close() {
  ((${SUMMARY_OWNER:-0})) || return 0
  summary_print
}

# One line per suite: kind, name, then the kind's fields, tab-separated.
summary_add() {
  local IFS=$'\t'
  echo "$*" >>"$(summary_file)"
}

summary_record() {
  local name=$1 passed=$2 total=$3 skipped=${4:-0} skipped_names=${5:-}
  summary_add counted "$name" "$passed" "$total" "$skipped" "$skipped_names"
}

summary_ok() { summary_add ok "$1" "$2"; }
summary_fail() { summary_add failed "$1" "$2"; }
summary_skip() { summary_add skipped "$1" "$2"; }

summary_ctest() {
  local name=$1 log status=0
  shift
  log=$(mktemp)
  { ctest "$@" 2>&1 | tee "$log"; status=${PIPESTATUS[0]}; } || true
  # "97% tests passed, 1 tests failed out of 40"; skipped tests count as not
  # failed there and are listed under "did not run".
  local counts failed total skipped
  counts=$(sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1 \2/p' "$log" | tail -1)
  if [[ -n $counts ]]; then
    read -r failed total <<<"$counts"
    local skipped_names
    skipped_names=$(sed -n '/^The following tests did not run:/,/^[^[:space:]]/p' "$log" |
      sed -nE 's/^[[:space:]]+[0-9]+ - (.*) \((Skipped|Disabled)\)$/\1/p')
    skipped=$(grep -c . <<<"$skipped_names" || true)
    summary_record "$name" $((total - failed - skipped)) "$total" "$skipped" "$(summary_join $skipped_names)"
  else
    summary_fail "$name" "ctest ran no test (status $status)"
    ((status)) || status=1
  fi
  rm -f "$log"
  return "$status"
}

summary_print() {
  local file passed=() skipped=() failed=() kind name a b c d
  file=$(summary_file)
  echo "=== summary ==="
  [[ -s $file ]] || { echo "no test suite ran"; return 1; }
  while IFS=$'\t' read -r kind name a b c d; do
    case $kind in
      counted)
        local line="$name: $a of $b tests passed"
        ((c > 0)) && line+=" ($c skipped${d:+: $d})"
        echo "$line"
        if ((a + c < b)); then failed+=("$name")
        elif ((c > 0)); then skipped+=("$name ($c of its tests)")
        else passed+=("$name"); fi
        ;;
      ok) echo "$name: $a"; passed+=("$name") ;;
      failed) echo "$name: FAILED: $a"; failed+=("$name") ;;
      skipped) echo "$name: skipped: $a"; skipped+=("$name") ;;
    esac
  done <"$file"
  if ((${#failed[@]} == 0 && ${#skipped[@]} == 0)); then
    echo "All test suites passed."
    return 0
  fi
  ((${#passed[@]})) && echo "Passed: $(summary_join "${passed[@]}")"
  ((${#skipped[@]})) && echo "Skipped: $(summary_join "${skipped[@]}")"
  if ((${#failed[@]})); then
    echo "FAILED: $(summary_join "${failed[@]}")"
    return 1
  fi
  return 0
}

summary_join() {
  local out="" item
  for item; do out+=${out:+, }$item; done
  echo "$out"
}
