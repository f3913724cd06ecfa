#!/bin/bash
# Prints in one run what the programs cost:
#   - sizes of the 32-bit zindral.exe and dravik.exe, a line per section, and
#     whether address-space randomisation and no-execute are kept on;
#   - start-up: a second Zindral start (loads the table, finds the first copy,
#     ends) against a program that imports the same libraries and makes the
#     same two platform calls (a keyboard-layout query, the window search),
#     and what those calls cost Wine: the median ratio over several rounds;
#   - idle: CPU time of a resident Zindral over 30 seconds;
#   - load and save of a 999-entry table against raw registry calls;
#   - one hot-key launch, from the key press to the started process, against
#     a program that calls ShellExecuteExA on WM_HOTKEY: the median ratio
#     over several rounds;
#   - the configuration dialog opened on a 999-entry table, from the tray
#     message to the filled list, against a program that fills a list view of
#     the same template with the same rows: the median ratio over several
#     rounds.
# Start-up, idle, the launch and the dialog are measured on the 64-bit twin
# under wine64.
#
#   bench/run.sh [I686_TREE X86_64_TREE]   default: build/i686 build/x86_64
#
# Configures and builds the trees when needed (see scripts/run for the
# packages). ROUNDS (default 7) rounds of REPEAT (default 15) starts of each
# program; SIZES_ONLY=1 prints the sizes alone. The Wine prefix is a copy of
# the tests' cached template (tests/wine/template.sh).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
tree32=${1:-$root/build/i686}
tree64=${2:-$root/build/x86_64}
rounds=${ROUNDS:-7}
repeat=${REPEAT:-15}
idle_seconds=30

build_tree() { # TREE ARCH
  if [ ! -f "$1/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$1" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2-w64-mingw32.cmake" \
      -DZINDRAL_WINDOWS_TESTS=OFF >/dev/null || exit 1
  fi
  cmake --build "$1" -j2 --target zindral dravik startup_baseline hotkey_baseline launch_probe ${3:-} >/dev/null ||
    { echo "bench: building $1 failed" >&2; exit 1; }
}

# ---- sizes ----------------------------------------------------------------

verdict() { # VALUE LIMIT
  if [ "$1" -le "$2" ]; then echo "met"; else echo "MISSED by $(( $1 - $2 ))"; fi
}

# One line per section: bytes in the file (with the 512-byte alignment) and
# bytes used. The headers fill the file up to the first section.
section_lines() { # EXE
  local size=$(stat -c %s "$1")
  i686-w64-mingw32-objdump -h "$1" |
    while read -r index name used _ _ offset _; do
      [[ $index =~ ^[0-9]+$ ]] && echo "$((16#$offset)) $name $((16#$used))"
    done | sort -n | awk -v size="$size" '
      # Zero-filled data has no place in the file (offset 0).
      $1 == 0 { zeroes = zeroes sprintf("    %-8s %6d bytes in the file, %6d zero-filled in memory\n", $2, 0, $3); next }
      { n++; off[n] = $1; name[n] = $2; used[n] = $3 }
      END {
        printf "    %-8s %6d bytes\n", "headers", off[1]
        for (i = 1; i <= n; i++) {
          end = (i < n) ? off[i + 1] : size
          printf "    %-8s %6d bytes in the file, %6d used\n", name[i], end - off[i], used[i]
          padding += end - off[i] - used[i]
        }
        printf "%s", zeroes
        printf "    %-8s %6d bytes of alignment padding in all\n", "", padding
      }'
}

protection_line() { # EXE
  local dump flags=""
  dump=$(i686-w64-mingw32-objdump -p "$1")
  grep -q DYNAMIC_BASE <<<"$dump" && flags="$flags dynamicbase"
  grep -q NX_COMPAT <<<"$dump" && flags="$flags nxcompat"
  echo "    DllCharacteristics $(awk '/^DllCharacteristics/ { print $2 }' <<<"$dump"):${flags:- none}"
  [[ $flags == *dynamicbase*nxcompat* ]] || echo "    GOAL MISSED: randomisation and no-execute must stay on"
}

size_report() { # EXE NAME LIMIT
  local size=$(stat -c %s "$1")
  echo "  $2: $size bytes; goal <= $3 bytes: $(verdict "$size" "$3")"
  section_lines "$1"
  protection_line "$1"
}

# Where the code goes: the largest functions of the linked libraries, as
# compiled before link-time optimisation and before unused sections are
# dropped, so an upper bound for each. The target is named so that nm reads
# the objects' own code rather than the compiler's table of them.
largest_functions() {
  i686-w64-mingw32-nm --target=pe-i386 -S -C --size-sort "$tree32/libzindral_app.a" "$tree32/libzindral_core.a" \
      2>/dev/null | while read -r _ size type name; do
        [[ $type == [tT] && $name != .text* ]] && printf '    %5d  %s\n' "$((16#$size))" "$name"
      done | sort -rn | head -n 10
}

# ---- start-up and idle ---------------------------------------------------

wine=/usr/lib/wine/wine64
wine_dir=$tree64/bench-wine
run_wine() { ZINDRAL_WINE_DIR=$wine_dir bash "$root/tests/wine/wine.sh" "$@"; }

windows_path() { echo "Z:${1//\//\\}"; }

# A table of four entries, so that the second start has something to load.
load_table() {
  local reg=$wine_dir/table.reg i
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orvane\\Zindral]\r\n\r\n'
    for i in 0 1 2 3; do
      printf '[HKEY_CURRENT_USER\\Software\\Orvane\\Zindral\\Keys\\00%d]\r\n' $i
      printf '"Key"="%d"\r\n"Modifier"=dword:0000000a\r\n' $(( i + 1 ))
      printf '"CommandLine"="C:\\\\windows\\\\notepad.exe"\r\n"Parameters"="%d.txt"\r\n\r\n' $i
    done
  } >"$reg"
  "$wine" regedit /s "$(windows_path "$reg")" </dev/null >/dev/null 2>&1
}

cpu_ticks() { # PID: user + system time in clock ticks
  awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"
}

# Waits until the process has used no CPU for two seconds (start-up done).
settle() { # PID
  local last=-1 now
  for _ in $(seq 60); do
    now=$(cpu_ticks "$1") || return 1
    [ "$now" = "$last" ] && return 0
    last=$now
    sleep 2
  done
}

microseconds() { # one start of PROGRAM [ARGS], wall-clock
  local begin=${EPOCHREALTIME//[!0-9]/} end
  "$wine" "$@" </dev/null >/dev/null 2>&1
  end=${EPOCHREALTIME//[!0-9]/}
  echo $(( end - begin ))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

startup_and_idle() {
  local zindral=$(windows_path "$tree64/bin/zindral.exe")
  local baseline=$(windows_path "$tree64/bin/startup_baseline.exe")
  mkdir -p "$wine_dir"
  [ -f "$wine_dir/prefix/.zindral-ready" ] || echo "(the bench's Wine prefix: a copy of the cached template)"
  eval "$(run_wine --env)" || { echo "  bench: no Wine prefix"; return 1; }
  trap 'run_wine --stop' EXIT
  "$wine" reg delete 'HKCU\Software\Orvane' /f </dev/null >/dev/null 2>&1
  load_table

  "$wine" "$zindral" </dev/null >/dev/null 2>&1 &
  local resident=$!
  settle "$resident"
  if ! timeout 60 "$wine" "$zindral" </dev/null >/dev/null 2>&1; then
    echo "  bench: a second Zindral did not end: is the first one up?"; return 1
  fi

  # Rounds of alternating starts, each giving the ratio of its medians: the
  # machine's other load moves single rounds, the median round much less.
  local round i z b n rows=""
  for i in 1 2 3; do
    microseconds "$zindral" >/dev/null; microseconds "$baseline" >/dev/null
    microseconds "$baseline" bare >/dev/null
  done
  for (( round = 0; round < rounds; ++round )); do
    z=() b=() n=()
    for (( i = 0; i < repeat; ++i )); do
      z+=("$(microseconds "$zindral")")
      b+=("$(microseconds "$baseline")")
      n+=("$(microseconds "$baseline" bare)")
    done
    rows+="$(printf '%s\n' "${z[@]}" | median) $(printf '%s\n' "${b[@]}" | median)"
    rows+=" $(printf '%s\n' "${n[@]}" | median)"$'\n'
  done
  echo "Start-up (x86_64 twin under wine64, warm wineserver; $rounds rounds of $repeat starts each, alternating):"
  echo "  medians per round: second Zindral start (4-entry table, first copy resident),"
  echo "  baseline (same imports, keyboard-layout query, window search), bare program"
  printf '%s' "$rows" | awk '
    function middle(a, count,   i, j, t) {
      for (i = 2; i <= count; i++)
        for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
      return a[int((count + 1) / 2)]
    }
    { ratio[NR] = $1 / $2; wine[NR] = ($2 - $3) / 1000
      printf "    %6.1f ms %6.1f ms %6.1f ms   ratio %.2fx\n", $1 / 1000, $2 / 1000, $3 / 1000, ratio[NR] }
    END {
      m = middle(ratio, NR)
      printf "  Wine'"'"'s part: the baseline takes %.1f ms more than the bare program (median):\n", middle(wine, NR)
      print "  the first keyboard-layout query of a thread opens its own X connection"
      printf "  ratio: median %.2fx, spread %.2fx to %.2fx; goal <= 1.20x: %s\n",
             m, ratio[1], ratio[NR], (m <= 1.2 ? "met" : "MISSED")
    }'

  local hz=$(getconf CLK_TCK) before after
  settle "$resident"
  before=$(cpu_ticks "$resident")
  sleep "$idle_seconds"
  after=$(cpu_ticks "$resident") || { echo "  bench: the resident Zindral ended"; return 1; }
  echo "Idle (resident Zindral, Linux process $resident, $(ls "/proc/$resident/task" | wc -l) threads):"
  awk -v t=$(( after - before )) -v hz="$hz" -v s="$idle_seconds" 'BEGIN {
    printf "  %d clock ticks = %.2f s of CPU over %d s; goal 0: %s\n", t, t / hz, s, (t == 0 ? "met" : "MISSED") }'

  echo "Hot-key table (x86_64 twin under wine64):"
  "$wine" "$(windows_path "$tree64/bench/table_bench.exe")" </dev/null 2>&1 | sed 's/\r$//; s/^/  /'

  hotkey_launch
  dialog_open
}

# Zindral starts again with a table of one entry, Ctrl+Shift+F7 for the
# probe; the baseline holds Ctrl+Shift+F8 for the same probe. Both stay
# resident while the driver presses the keys in turn, and end by its "end".
hotkey_launch() {
  local probe=$(windows_path "$tree64/bin/launch_probe.exe") reg=$wine_dir/hotkey.reg z b
  local bench=$(windows_path "$tree64/bench/hotkey_bench.exe")
  "$wine" "$bench" end </dev/null >/dev/null 2>&1
  "$wine" reg delete 'HKCU\Software\Orvane' /f </dev/null >/dev/null 2>&1
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orvane\\Zindral\\Keys\\000]\r\n'
    printf '"Key"="F7"\r\n"Modifier"=dword:00000006\r\n'
    printf '"CommandLine"="%s"\r\n"Parameters"="zindral"\r\n\r\n' "${probe//\\/\\\\}"
  } >"$reg"
  "$wine" regedit /s "$(windows_path "$reg")" </dev/null >/dev/null 2>&1
  "$wine" "$(windows_path "$tree64/bin/zindral.exe")" </dev/null >/dev/null 2>&1 &
  z=$!
  "$wine" "$(windows_path "$tree64/bin/hotkey_baseline.exe")" "$probe" </dev/null >/dev/null 2>&1 &
  b=$!
  settle "$z"; settle "$b"
  "$wine" "$bench" "$rounds" "$repeat" </dev/null 2>&1 | sed 's/\r$//'
  "$wine" "$bench" end </dev/null >/dev/null 2>&1
  wait "$z" "$b" 2>/dev/null
}

# Zindral and the baseline both load a table of 999 entries: 26 letters under
# the 15 non-empty sets of modifiers, so that the later of two equal entries
# is refused as it would be anywhere.
dialog_open() {
  local reg=$wine_dir/dialog.reg bench=$(windows_path "$tree64/bench/dialog_bench.exe") z b i
  local letters=ABCDEFGHIJKLMNOPQRSTUVWXYZ
  "$wine" "$bench" end </dev/null >/dev/null 2>&1
  "$wine" reg delete 'HKCU\Software\Orvane' /f </dev/null >/dev/null 2>&1
  {
    printf 'REGEDIT4\r\n\r\n'
    for (( i = 0; i < 999; ++i )); do
      printf '[HKEY_CURRENT_USER\\Software\\Orvane\\Zindral\\Keys\\%03d]\r\n' $i
      printf '"Key"="%s"\r\n"Modifier"=dword:%08x\r\n' "${letters:i % 26:1}" $(( (i / 26) % 15 + 1 ))
      printf '"CommandLine"="C:\\\\tools\\\\tool%d.exe"\r\n"Parameters"="-n %d"\r\n\r\n' $i $i
    done
  } >"$reg"
  "$wine" regedit /s "$(windows_path "$reg")" </dev/null >/dev/null 2>&1
  "$wine" "$(windows_path "$tree64/bin/zindral.exe")" </dev/null >/dev/null 2>&1 &
  z=$!
  "$wine" "$(windows_path "$tree64/bin/dialog_baseline.exe")" </dev/null >/dev/null 2>&1 &
  b=$!
  settle "$z"; settle "$b"
  "$wine" "$bench" "$rounds" 5 </dev/null 2>&1 | sed 's/\r$//'
  "$wine" "$bench" end </dev/null >/dev/null 2>&1
  wait "$z" "$b" 2>/dev/null
}

build_tree "$tree32" i686
build_tree "$tree64" x86_64 "table_bench hotkey_bench hotkey_baseline launch_probe dialog_bench dialog_baseline"

echo "Sizes (i686 deliverable):"
size_report "$tree32/bin/zindral.exe" zindral.exe 23040
size_report "$tree32/bin/dravik.exe" dravik.exe 3072
echo "  largest functions linked into zindral.exe (bytes):"
largest_functions
[ -n "${SIZES_ONLY:-}" ] || startup_and_idle
