#!/bin/bash
# Smoke test of the real 32-bit programs: 32-bit Wine through qemu, in a
# mixed 32/64-bit prefix of its own. The 64-bit driver (native speed) starts
# the emulated zindral.exe and plays one scenario against it.
#
#   i686-smoke.sh SOURCE_DIR WORK_DIR ZINDRAL.EXE DRAVIK.EXE DRIVER.EXE
#
# Exits 77 (reported as skipped) when the machine refuses the 32-bit setup.
set -u
source_dir=$1 work=$2 zindral=$3 dravik=$4 driver=$5
wine_sh=$source_dir/tests/wine/wine.sh
log=$work/driver.log

for program in "$zindral" "$dravik" "$driver"; do
  [ -f "$program" ] || { echo "missing $program: build the tree first"; exit 1; }
done

setup=$(bash "$source_dir/scripts/setup-wine32.sh" 2>&1)
status=$?
echo "$setup"
[ $status = 0 ] || { echo "32-bit Wine could not be set up"; exit 1; }
case "$(tail -n 1 <<<"$setup")" in
  SKIPPED:*) exit 77 ;;
esac

export ZINDRAL_WINE_DIR=$work ZINDRAL_WINE_PREFIX=$work/prefix ZINDRAL_WINE_KIND=wow64
unset ZINDRAL_WINE_TEMPLATE   # a 64-bit one, perhaps: this test needs its own
run_wine() { bash "$wine_sh" "$@"; }
trap 'run_wine --stop' EXIT
mkdir -p "$work"

# A prefix with its 32-bit half takes minutes to make under emulation: the
# machine-wide cache keeps one (tests/wine/template.sh), and each run gets a
# copy of it, a fresh registry without settings.
run_wine --fresh || exit 1
if [ ! -f "$work/prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
  echo "the prefix has no 32-bit half"
  exit 1
fi

# Zindral's folder: dravik.exe beside it, pellin.exe not.
app=$work/app
rm -rf "$app" && mkdir -p "$app"
cp "$zindral" "$dravik" "$app/" || exit 1
windows_path="Z:${app//\//\\}\\$(basename "$zindral")"

# The driver writes to a file: Wine's helper processes would keep a pipe open.
run_wine "$driver" "$windows_path" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
exit $status
