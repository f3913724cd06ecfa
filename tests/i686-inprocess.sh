#!/bin/bash
# The in-process test cases built for i686, run once through 32-bit Wine
# under qemu in a prefix of their own.
#
#   i686-inprocess.sh SOURCE_DIR WORK_DIR TESTS.EXE [ARGS...]
#
# Exits 77 (reported as skipped) when the machine cannot run 32-bit programs.
set -u
source_dir=$1 work=$2 tests=$3
shift 3
log=$work/inprocess.log
lines=$work/inprocess.lines   # the log without the carriage returns

[ -f "$tests" ] || { echo "missing $tests: build the tree first"; exit 1; }

# A 32-bit process that qemu ends with a signal reports 0 through the 64-bit
# loader, and it may end so after GoogleTest printed its summary: the verdict
# rests on the log alone. Every case that started must have passed or been
# skipped, and the summary must count the very cases that the log shows.
count_in_log() { # PATTERN: the number that the one matching line holds
  local numbers
  numbers=$(sed -n "s/$1/\1/p" "$lines")
  [ -n "$numbers" ] && [ "$(wc -l <<<"$numbers")" = 1 ] && echo "$numbers"
}

judge_log() {
  local ran started passed finished skipped
  tr -d '\r' <"$log" >"$lines"
  if grep -q '^\[  FAILED  \]' "$lines"; then
    echo "failed cases:"; grep '^\[  FAILED  \]' "$lines" | sort -u
    return 1
  fi
  ran=$(count_in_log '^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*') ||
    { echo "the test program ended without its summary"; return 1; }
  passed=$(count_in_log '^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\.$') ||
    { echo "the summary has no count of passed cases"; return 1; }
  skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\{0,1\}, listed below:$/\1/p' "$lines")
  skipped=${skipped:-0}
  started=$(grep -c '^\[ RUN      \]' "$lines")
  finished=$(grep -c '^\[       OK \]' "$lines")
  if [ "$ran" = 0 ] || [ "$started" != "$ran" ] || [ "$((passed + skipped))" != "$ran" ] ||
     [ "$finished" != "$passed" ]; then
    echo "the counts disagree: $ran ran, $started started, $passed passed," \
         "$finished finished, $skipped skipped"
    return 1
  fi
  echo "verdict: all $ran cases ran, $passed passed and $skipped skipped"
}

source "$source_dir/tests/wine/wine32.sh"
prepare_wine32 "$source_dir" "$work"

rm -f "$log" "$lines"
# The output goes to a file: Wine's helper processes would keep a pipe open.
run_wine "$tests" "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
judge_log || exit 1
[ $status = 0 ] || { echo "the test program ended with status $status"; exit 1; }
