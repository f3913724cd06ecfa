#!/bin/bash
# Smoke test of the real 32-bit programs: 32-bit Wine through qemu, in a
# mixed 32/64-bit prefix of its own. The 64-bit driver (native speed) starts
# the emulated zindral.exe and plays one scenario against it.
#
#   i686-smoke.sh SOURCE_DIR WORK_DIR ZINDRAL.EXE DRAVIK.EXE DRIVER.EXE
#
# Exits 77 (reported as skipped) when the machine cannot run 32-bit programs.
set -u
source_dir=$1 work=$2 zindral=$3 dravik=$4 driver=$5
log=$work/driver.log

for program in "$zindral" "$dravik" "$driver"; do
  [ -f "$program" ] || { echo "missing $program: build the tree first"; exit 1; }
done

source "$source_dir/tests/wine/wine32.sh"
prepare_wine32 "$source_dir" "$work"

# Zindral's folder: dravik.exe beside it, pellin.exe not.
app=$work/app
rm -rf "$app" && mkdir -p "$app"
cp "$zindral" "$dravik" "$app/" || exit 1
windows_path="Z:${app//\//\\}\\$(basename "$zindral")"

# The driver writes to a file: Wine's helper processes would keep a pipe open.
rm -f "$log"
run_wine "$driver" "$windows_path" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
# The driver runs natively, so its status is its own; its last word must agree.
[ $status = 0 ] && grep -q 'smoke test passed' "$log"
