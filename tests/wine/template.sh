#!/bin/bash
# Copies a template Wine prefix out of the machine-wide cache, making the
# template first when the cache has none for this Wine and this recipe.
#
#   template.sh KIND DEST   KIND win64 or wow64 (see prefix-recipe.sh);
#                           DEST must not exist yet. Needs DISPLAY.
#
# The cache is $ZINDRAL_WINE_CACHE, by default /var/cache/zindral-wine (or
# ~/.cache/zindral-wine for a user who cannot write there); deleting that
# folder clears it. Each entry is named after its kind and a hash of what
# makes it: the Wine version(s), wine.inf and the recipe's text. An entry is
# made in a folder beside it and renamed into place whole, with its stamp
# written last; one whose stamp or registry files do not match is made again.
set -u
here=$(cd "$(dirname "$0")" && pwd)
kind=$1 dest=$2
recipe=$here/prefix-recipe.sh
wine64=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo wineserver64)

fail() { echo "template.sh: $*" >&2; exit 1; }
case "$kind" in win64|wow64) ;; *) fail "unknown kind '$kind'" ;; esac
[ ! -e "$dest" ] || fail "$dest exists already"

cache=${ZINDRAL_WINE_CACHE:-}
if [ -z "$cache" ]; then
  cache=/var/cache/zindral-wine
  mkdir -p "$cache" 2>/dev/null && [ -w "$cache" ] ||
    cache=${XDG_CACHE_HOME:-$HOME/.cache}/zindral-wine
fi
mkdir -p "$cache" || fail "cannot create $cache"

key_text() {
  echo "$kind"
  "$wine64" --version || return 1
  if [ "$kind" = wow64 ]; then "$wine32" --version || return 1; fi
  cksum </usr/share/wine/wine.inf 2>/dev/null
  cat "$recipe"
}
key=$(set -o pipefail; key_text | sha256sum | cut -c1-16) || fail "no Wine to key the $kind template on"
entry=$cache/$kind-$key
stamp=.zindral-ready

# The stamp holds the key and the checksums of the registry files, which a
# run that died while copying or a full disk would leave short or empty.
write_stamp() { # DIR
  { echo "key $key"; (cd "$1" && sha256sum system.reg user.reg userdef.reg); } >"$1/$stamp.new" &&
    mv "$1/$stamp.new" "$1/$stamp"
}

entry_sound() {
  [ "$(head -n 1 "$entry/$stamp" 2>/dev/null)" = "key $key" ] &&
    (cd "$entry" && tail -n +2 "$stamp" | sha256sum --quiet --check --status -) &&
    [ -s "$entry/drive_c/windows/system32/kernel32.dll" ] &&
    { [ "$kind" = win64 ] || [ -s "$entry/drive_c/windows/syswow64/kernel32.dll" ]; }
}

# A run stopped while making an entry leaves neither its server nor its
# half-made folder behind.
work=""
discard_work() {
  [ -n "$work" ] || return 0
  [ ! -d "$work/prefix" ] || WINEPREFIX=$work/prefix "$wineserver" -k >/dev/null 2>&1
  rm -rf "$work"
  work=""
}
trap discard_work EXIT
trap 'exit 130' INT TERM

make_entry() {
  work=$(mktemp -d "$cache/.making-$kind-XXXXXX") || return 1
  echo "making the $kind template prefix in $cache (once per Wine version)" >&2
  bash "$recipe" "$kind" "$work/prefix" && write_stamp "$work/prefix" || return 1
  if [ -e "$entry" ]; then
    mv "$entry" "$work/old" || return 1
  fi
  mv "$work/prefix" "$entry" || return 1
  discard_work
}

# One run at a time per kind: a second one waits, then finds the entry made.
exec 9>>"$cache/.lock-$kind"
flock 9
# Whatever a run that died left half made.
rm -rf "$cache/.making-$kind-"*
if ! entry_sound; then
  make_entry || fail "could not make the $kind template in $cache"
  # Templates of an older Wine or recipe, unused for a week.
  find "$cache" -maxdepth 2 -path "$cache/$kind-*/$stamp" -mtime +7 -printf '%h\n' |
    while read -r old; do [ "$old" = "$entry" ] || rm -rf "$old"; done
fi
touch "$entry/$stamp"
# Copies of a sound entry run side by side (the 32-bit tests start
# together); only making an entry needs the lock alone.
flock -s 9
rm -rf "$dest.copying"
cp -a "$entry" "$dest.copying" && mv "$dest.copying" "$dest" ||
  { rm -rf "$dest.copying"; fail "could not copy the $kind template to $dest"; }
