#!/usr/bin/env bash
# The test command's summary, through its own task runner: a part whose runtime cannot be had is
# reported as skipped with the reason and its tests counted as skipped, never as passed; under
# BRINDLET_REQUIRE_ALL=1 the same run fails; a failed build fails the parts that need it.
#   summary_reports_skips.sh SOURCE_DIR
set -euo pipefail
lib=$1/scripts/lib/test-parts.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# run REQUIRE_ALL BROKEN_BUILD: three parts, one of them without its emulator; prints the summary.
run() {
  rm -rf logs build
  BRINDLET_REQUIRE_ALL=$1 bash -c '
    . "$0"
    logs=logs jobs=1
    mkdir -p logs build/skips
    passes() { echo "3 0 0" >"$logs/$task.count"; }
    emulator_missing() { echo "no qemu-foo: apt-get could not install qemu-user" >build/skips/foo; return 3; }
    build() { [ "$1" = 0 ]; }
    add_task shared-build "" build "$1"
    add_task native shared-build passes
    add_task foo-build "" true
    add_task foo "shared-build foo-build" emulator_missing
    add_task deb "" passes
    run_tasks 2 >/dev/null
    part_tasks native native; part_tasks foo foo-build foo; part_tasks deb deb
    summarize native foo deb' "$lib" "$2"
}

failures=0
expect() {  # expect WHAT COMMAND...
  local what=$1
  shift
  "$@" || { echo "FAILED: $what"; failures=$((failures + 1)); }
}

out=$(run 0 0) && status=0 || status=$?
echo "$out"
expect "a skip alone does not fail the run" [ "$status" -eq 0 ]
expect "the skipped part names its reason" grep -qE '^  foo +skipped: no qemu-foo: apt-get could not install qemu-user' <<<"$out"
expect "its test is counted as skipped" [ "$(tail -n 1 <<<"$out")" = "tests: 6 passed, 0 failed, 1 skipped" ]

out=$(run 1 0) && status=0 || status=$?
expect "BRINDLET_REQUIRE_ALL=1 fails a run with a skip" [ "$status" -ne 0 ]
expect "and says why" grep -q 'BRINDLET_REQUIRE_ALL=1' <<<"$out"

out=$(run 0 1) && status=0 || status=$?
echo "$out"
expect "a failed shared build fails the run" [ "$status" -ne 0 ]
expect "the parts that need it failed" grep -qE '^  native +failed' <<<"$out"
expect "and are counted as failed" grep -qE '^tests: 3 passed, 2 failed, 0 skipped$' <<<"$out"
[ "$failures" -eq 0 ]
