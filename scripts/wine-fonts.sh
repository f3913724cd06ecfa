#!/bin/bash
# Puts Wine's own fonts (Debian package fonts-wine: Tahoma, Marlett and the
# "MS Sans Serif" stand-in) into one Wine prefix, so that its dialogs look as
# on Windows: without them Wine substitutes wider fonts, labels are cut and
# the caption buttons show the letter "r". Only this prefix gets them; test
# prefixes keep the substitutes. Nothing to do when they are there already.
#
#   wine-fonts.sh PREFIX
set -u
fonts=$1/drive_c/windows/Fonts
[ -f "$fonts/marlett.ttf" ] && exit 0
mkdir -p "$fonts"

if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  cp /usr/share/wine/fonts/* "$fonts/" && exit 0
fi

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
chmod 777 "$unpacked"   # apt's download user writes there
download() { (cd "$unpacked" && apt-get download -qq fonts-wine) >/dev/null 2>&1; }
download || { apt-get update -qq >/dev/null 2>&1 && download; } &&
  dpkg-deb -x "$unpacked"/fonts-wine_*.deb "$unpacked" &&
  cp "$unpacked"/usr/share/wine/fonts/* "$fonts/" && exit 0
echo "fonts-wine not available: Wine's substitute fonts are used" >&2
exit 1
