# Sourced by scripts/test.sh: its tasks run side by side, and the summary of its parts.
#   add_task NAME "DEPENDENCIES" COMMAND...   a task, run once every dependency has passed;
#                                             tasks start in the order they were added
#   run_tasks SLOTS                           runs them, at most SLOTS at a time, each one's
#                                             output in $logs/NAME.log
#   urgent NAME...                            these run at the normal priority, the others
#                                             niced: the longest chain gets the processors first
#   run_ctest BUILD_DIR CTEST_OPTIONS...      ctest in BUILD_DIR, its counts kept for the task
#                                             ($logs/TASK.count: passed failed skipped; a task
#                                             learns its name from $task)
#   skipped_part PART                         true (saying why) when PART cannot run here
#   part_tasks PART TASK...                   the tasks whose results make PART's
#   summarize PART...                         the summary lines and the closing count; exits
#                                             non-zero when a part failed (or, with
#                                             BRINDLET_REQUIRE_ALL=1, was skipped)
# A task's exit status says how it went: 0 passed, 3 skipped (why: build/skips/PART), any other
# failed. A task whose dependency failed does not run and counts as failed; one whose dependency
# was skipped is skipped for the same reason.
task_names=()
declare -A task_deps=() task_command=() task_status=() task_seconds=() task_started=() task_urgent=()

add_task() {
  local name=$1 deps=$2
  shift 2
  task_names+=("$name")
  task_deps[$name]=$deps
  task_command[$name]=$(printf '%q ' "$@")
  task_status[$name]=pending
}

urgent() {
  local name
  for name in "$@"; do task_urgent[$name]=1; done
}

say_task() { echo "== test.sh [$(date +%T)]: $*"; }

# The status a pending task takes from its dependencies: ready, waiting, or its final one.
readiness() {
  local dep verdict=ready
  for dep in ${task_deps[$1]}; do
    case "${task_status[$dep]}" in
      passed) ;;
      failed | not-run) echo not-run; return ;;
      skipped) verdict=skipped ;;
      *) [ "$verdict" = skipped ] || verdict=waiting ;;
    esac
  done
  echo "$verdict"
}

run_tasks() {
  local slots=$1 running=0 name state status pending
  # Each task writes its name and exit status into this pipe as it ends, and the loop reads them
  # as they come (bash's "wait -n" misses children that ended before it was called).
  local done_pipe
  done_pipe=$(mktemp -u "${TMPDIR:-/tmp}/brindlet-tasks.XXXXXX")
  mkfifo "$done_pipe"
  exec 7<>"$done_pipe"
  rm -f "$done_pipe"
  for (( ; ; )); do
    pending=0
    for name in "${task_names[@]}"; do
      [ "${task_status[$name]}" = pending ] || continue
      state=$(readiness "$name")
      case "$state" in
        not-run | skipped)
          task_status[$name]=$state
          task_seconds[$name]=0
          say_task "$name: $state (a task it needs did not pass)" ;;
        ready)
          if [ "$running" -lt "$slots" ]; then
            (
              status=0
              [ -n "${task_urgent[$name]:-}" ] || renice -n 10 -p "$BASHPID" >/dev/null 2>&1 || true
              (task=$name && eval "${task_command[$name]}") </dev/null >"$logs/$name.log" 2>&1 7>&- || status=$?
              # The processor time of the task's processes ("times": their user and system time).
              times >"$logs/$name.cpu"
              tail -n 1 "$logs/$name.cpu" | tr 'ms' '  ' | awk '{ printf "%d\n", $1 * 60 + $2 + $3 * 60 + $4 }' >"$logs/$name.cpu.tmp"
              mv "$logs/$name.cpu.tmp" "$logs/$name.cpu"
              echo "$name $status" >&7
            ) &
            task_started[$name]=$(date +%s)
            task_status[$name]=running
            running=$((running + 1))
            say_task "$name started (log: $logs/$name.log)"
          else
            pending=1
          fi ;;
        *) pending=1 ;;
      esac
    done
    [ "$running" -gt 0 ] || { [ "$pending" -eq 0 ] && break; continue; }
    read -r name status <&7
    running=$((running - 1))
    task_seconds[$name]=$(($(date +%s) - task_started[$name]))
    case "$status" in
      0) task_status[$name]=passed ;;
      3) task_status[$name]=skipped ;;
      *) task_status[$name]=failed ;;
    esac
    say_task "$name ${task_status[$name]} in ${task_seconds[$name]} s"
    if [ "${task_status[$name]}" = failed ]; then
      tail -n 40 "$logs/$name.log" | sed "s/^/  $name| /"
    fi
  done
  exec 7>&-
  wait
}

# ctest's closing line gives the tests run and failed; those it lists as skipped are no passes.
run_ctest() {
  local dir=$1 status=0 total failed skipped
  shift
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@" || status=$?
  total=$(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$logs/$task.log" | tail -n 1)
  failed=$(sed -n 's/.* \([0-9]*\) tests failed out of [0-9]*$/\1/p' "$logs/$task.log" | tail -n 1)
  skipped=$(grep -c '^ *[0-9]* - .*(Skipped)$' "$logs/$task.log" || true)
  echo "$((${total:-0} - ${failed:-0} - skipped)) ${failed:-0} $skipped" >"$logs/$task.count"
  return "$status"
}

skipped_part() {
  [ -f "build/skips/$1" ] || return 1
  echo "skipped: $(cat "build/skips/$1")"
  return 0
}

declare -A part_task_list=()
part_tasks() {
  local part=$1
  shift
  part_task_list[$part]="$*"
}

summarize() {
  local part name status seconds cpu reason passed=0 failed=0 skipped=0 bad=0 any_skipped=0 p f s
  echo
  echo "== test.sh: summary (logs in $logs/)"
  for part in "$@"; do
    status=passed
    seconds=0
    cpu=0
    for name in ${part_task_list[$part]}; do
      seconds=$((seconds + ${task_seconds[$name]:-0}))
      cpu=$((cpu + $(cat "$logs/$name.cpu" 2>/dev/null || echo 0)))
      case "${task_status[$name]}" in
        failed | not-run) status=failed ;;
        skipped) [ "$status" = failed ] || status=skipped ;;
      esac
    done
    reason=""
    [ "$status" != skipped ] || reason=": $(cat "build/skips/$part" 2>/dev/null || echo "a task it needs was skipped")"
    printf '  %-11s %s%s (%d s; processor time %d s)\n' "$part" "$status" "$reason" "$seconds" "$cpu"
    # Its tests' counts; a part whose tests did not run counts them as skipped or failed.
    read -r p f s < <(cat_counts "$part")
    if [ "$status" = skipped ] && [ "$p$f" = 00 ]; then
      s=$((s + $(tests_of "$part")))
    elif [ "$status" = failed ] && [ "$f" = 0 ]; then
      f=1
    fi
    passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
    case "$status" in
      failed) bad=1 ;;
      skipped) any_skipped=1 ;;
    esac
  done
  # Tasks that serve several parts (the Release build) are counted in none of them.
  for name in "${task_names[@]}"; do
    [[ " ${part_task_list[*]} " == *" $name "* ]] ||
      printf '  (%s: %s, %d s; processor time %d s; shared by the parts that need it)\n' "$name" \
        "${task_status[$name]}" "${task_seconds[$name]:-0}" "$(cat "$logs/$name.cpu" 2>/dev/null || echo 0)"
  done
  if [ "$any_skipped" -eq 1 ] && [ "${BRINDLET_REQUIRE_ALL:-0}" = 1 ]; then
    echo "test.sh: BRINDLET_REQUIRE_ALL=1, and a part was skipped: the run fails"
    bad=1
  fi
  echo "tests: $passed passed, $failed failed, $skipped skipped"
  return "$bad"
}

cat_counts() {  # the counts of a part's tasks, added up
  local name p f s passed=0 failed=0 skipped=0
  for name in ${part_task_list[$1]}; do
    [ -f "$logs/$name.count" ] || continue
    read -r p f s <"$logs/$name.count"
    passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
  done
  echo "$passed $failed $skipped"
}

tests_of() {  # how many tests a part would have run: those its ctest options select, or one
  local options
  [ -f "$logs/$1.filter" ] || { echo 1; return; }
  mapfile -t options <"$logs/$1.filter"
  ctest --test-dir build/release -N "${options[@]}" 2>/dev/null | sed -n 's/^Total Tests: //p' | grep . || echo 0
}
