#!/bin/bash
# The in-process test cases built for i686, run once through 32-bit Wine
# under qemu in the smoke test's prefix.
#
#   i686-inprocess.sh SOURCE_DIR WORK_DIR TESTS.EXE [ARGS...]
#
# Exits 77 (reported as skipped) when the machine refuses the 32-bit setup.
set -u
source_dir=$1 work=$2 tests=$3
shift 3
log=$work/inprocess.log

[ -f "$tests" ] || { echo "missing $tests: build the tree first"; exit 1; }

source "$source_dir/tests/wine/wine32.sh"
prepare_wine32 "$source_dir" "$work"

# The output goes to a file: Wine's helper processes would keep a pipe open.
run_wine "$tests" "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
# A 32-bit process that qemu ends with a signal reports 0 through the 64-bit
# loader: only GoogleTest's closing summary proves that the run finished.
if ! grep -q '^\[==========\] .* ran\.' "$log"; then
  echo "the test program ended without its summary (status $status)"
  exit 1
fi
exit $status
