#!/bin/bash
# Runs a Windows program in this build tree's own Wine prefix, inside a Wine
# virtual desktop on a private Xvfb, so that tests never touch anything outside
# the build tree and windows of other processes can become the foreground.
#
#   wine.sh PROGRAM [ARGS...]   start the servers if needed, then run PROGRAM
#   wine.sh --fresh             stop everything and create a new prefix
#   wine.sh --start             start the servers (and the prefix) if needed
#   wine.sh --stop              stop wineserver and Xvfb
#   wine.sh --env               print the environment for running by hand
#
# ZINDRAL_WINE_DIR names the folder (in the build tree) that holds it all;
# ZINDRAL_WINE may name another loader (the 32-bit one). Each fresh prefix is
# a copy of a template from the machine-wide cache (template.sh): of kind
# ZINDRAL_WINE_KIND, win64 by default, wow64 for the 32-bit programs; or of
# the folder ZINDRAL_WINE_TEMPLATE, made there when missing.
set -u
here=$(cd "$(dirname "$0")" && pwd)
dir=${ZINDRAL_WINE_DIR:?}
kind=${ZINDRAL_WINE_KIND:-win64}
prefix=${ZINDRAL_WINE_PREFIX:-$dir/prefix}
wine=${ZINDRAL_WINE:-/usr/lib/wine/wine64}
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo wineserver64)
mkdir -p "$dir"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='

xvfb_alive() {
  [ -f "$dir/xvfb.pid" ] && kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null
}

start_xvfb() {
  if xvfb_alive && [ -s "$dir/display" ]; then
    export DISPLAY=:$(cat "$dir/display"); return 0
  fi
  rm -f "$dir/display"
  # -displayfd picks a free display; the servers must not inherit our pipes,
  # or a caller waiting for end of output would wait for ever.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$dir/display" </dev/null >/dev/null 2>&1 &
  echo $! >"$dir/xvfb.pid"
  for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.1; done
  [ -s "$dir/display" ] || { echo "wine.sh: Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$(tr -d '\n' <"$dir/display")
}

make_prefix() {   # $1: where
  bash "$here/prefix-recipe.sh" "$kind" "$1" && touch "$1/.zindral-ready"
}

start_prefix() {
  if [ ! -f "$prefix/.zindral-ready" ]; then
    rm -rf "$prefix"
    # Making a prefix is slow (minutes for one with its 32-bit half, which
    # runs emulated): copy a template instead.
    template=${ZINDRAL_WINE_TEMPLATE:-}
    if [ -n "$template" ]; then
      if [ ! -f "$template/.zindral-ready" ]; then
        rm -rf "$template"
        make_prefix "$template"
      fi
      cp -a "$template" "$prefix"
    elif ! bash "$here/template.sh" "$kind" "$prefix"; then
      echo "wine.sh: no template from the cache; making the prefix in place" >&2
      rm -rf "$prefix"
      make_prefix "$prefix"
    fi
  fi
  # A persistent wineserver makes each process start cheap.
  setsid "$wineserver" -p </dev/null >/dev/null 2>&1 &
  # The first program of a session starts Wine's background services, and
  # they keep that program's standard handles open: a caller reading its
  # output (CTest) would wait for them until its time-out. Start them here,
  # detached; when they already run this costs one quick process start.
  "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1
  # The same for the virtual desktop's own process, which the first window
  # would otherwise start.
  if [ ! -f "$dir/desktop-started" ]; then
    setsid "$wine" explorer.exe /desktop=Default,1280x1024 </dev/null >/dev/null 2>&1 &
    touch "$dir/desktop-started"
  fi
}

start_all() {
  exec 9>"$dir/lock"
  flock 9
  start_xvfb || return 1
  start_prefix
  flock -u 9
}

stop_all() {
  [ -d "$prefix" ] && "$wineserver" -k >/dev/null 2>&1
  if xvfb_alive; then kill "$(cat "$dir/xvfb.pid")" 2>/dev/null; fi
  rm -f "$dir/xvfb.pid" "$dir/display" "$dir/desktop-started"
  return 0
}

case "${1:-}" in
  --stop) stop_all; exit 0 ;;
  --fresh) stop_all; rm -rf "$prefix"; start_all; exit $? ;;
  --start) start_all; exit $? ;;
  --env) start_all >/dev/null || exit 1
         echo "export WINEPREFIX='$prefix' WINEDEBUG=-all DISPLAY=$DISPLAY"; exit 0 ;;
esac
start_all || exit 1
exec "$wine" "$@"
