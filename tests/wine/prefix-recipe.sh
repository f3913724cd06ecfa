#!/bin/bash
# Makes a new Wine prefix for the tests. template.sh keys its cache on this
# file's text: any change here makes every cached template again.
#
#   prefix-recipe.sh win64 DIR   64-bit Wine only (the x86_64 programs)
#   prefix-recipe.sh wow64 DIR   with the 32-bit half (the i686 programs)
#
# Needs an X display (DISPLAY). Exits non-zero when the prefix is incomplete.
set -u
kind=$1 prefix=$2
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo wineserver64)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='

if [ "$kind" = win64 ]; then
  # Where 32-bit Wine is installed, wineboot also sets up the 32-bit half,
  # minutes of work under qemu that no 64-bit program needs. Naming a CPU
  # that qemu does not know makes every 32-bit process fail at once; wineboot
  # then goes on with the 64-bit half alone.
  export QEMU_CPU=none
fi

"$wine" wineboot -i </dev/null >/dev/null 2>&1
# One virtual desktop for every program of the prefix: Wine itself then
# manages activation, which a bare Xvfb without window manager never does.
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f </dev/null >/dev/null 2>&1
# The desktop that wineboot started would keep the notification area from
# the tests' own desktop: let the session end before anybody uses the prefix.
"$wineserver" -w

[ -s "$prefix/system.reg" ] && [ -s "$prefix/user.reg" ] &&
  [ -s "$prefix/drive_c/windows/system32/kernel32.dll" ] || exit 1
[ "$kind" = win64 ] || [ -s "$prefix/drive_c/windows/syswow64/kernel32.dll" ] || exit 1
grep -q '"Desktop"="Default"' "$prefix/user.reg"
