# Sourced by the tests of the real 32-bit code: 32-bit Wine through qemu, in a
# mixed 32/64-bit prefix of the build tree's own.
#
#   prepare_wine32 SOURCE_DIR WORK_DIR
#
# Sets the machine up, then starts a fresh prefix under WORK_DIR; afterwards
# run_wine PROGRAM [ARGS...] runs a program there, and the prefix's servers
# stop when the calling script ends. Exits 77 (reported as skipped) when the
# machine cannot run 32-bit programs at all; under CI (CI=true), where the
# shipped programs must run, that is a failure instead, unless the package
# registry could not serve 32-bit Wine.

prepare_wine32() {
  local source_dir=$1 work=$2
  wine_sh=$source_dir/tests/wine/wine.sh
  local setup status
  setup=$(bash "$source_dir/scripts/setup-wine32.sh" 2>&1)
  status=$?
  echo "$setup"
  [ $status = 0 ] || { echo "32-bit Wine could not be set up"; exit 1; }
  case "$(tail -n 1 <<<"$setup")" in
    # Nothing on this side can mend a registry in mid-sync, and every test
    # of the 64-bit twin still runs: not a failure, even under CI; the test
    # command's last lines say that these tests did not run.
    "SKIPPED: the package registry cannot serve 32-bit Wine now: "*)
      exit 77 ;;
    SKIPPED:*)
      if [ "${CI:-}" = true ]; then
        echo "CI=true: the 32-bit programs must run here, so this skip is a failure"
        exit 1
      fi
      exit 77 ;;
  esac

  export ZINDRAL_WINE_DIR=$work ZINDRAL_WINE_PREFIX=$work/prefix ZINDRAL_WINE_KIND=wow64
  # qemu gives a 32-bit guest the whole 4 GB by default, and then every
  # process of Debian's 32-bit Wine (it has no preloader) begins with over
  # 100,000 mmap calls, reserving address space 64 KB at a time: a minute or
  # more per process start (strace shows it). Ending the guest's space where
  # a 32-bit Windows process's user space ends, 0x7FFF0000, spares Wine that
  # work: a start takes seconds. Sizes a little above it (up to 0x80010000
  # tried) start no 32-bit process at all here; from 0x88000000 up they
  # start, slowly again.
  export QEMU_RESERVED_VA=0x7fff0000
  unset ZINDRAL_WINE_TEMPLATE   # a 64-bit one, perhaps: these tests need their own
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
  echo "32-bit Wine and a fresh prefix ready after $SECONDS s"
}

# The loader stays the 64-bit one: it hands 32-bit programs to the 32-bit
# loader itself, and Wine's own services then run at native speed.
run_wine() { bash "$wine_sh" "$@"; }
