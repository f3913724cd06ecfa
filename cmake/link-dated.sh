#!/bin/sh
# Usage: link-dated.sh SOURCE_DIR LINK-COMMAND...
# Runs the link with SOURCE_DATE_EPOCH set, which the linker writes into the
# PE headers instead of the time of the build: the caller's value where it
# has one, else the date of the source tree's last commit. Outside a git
# checkout the linker keeps the real time.
source_dir=$1
shift
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null) || SOURCE_DATE_EPOCH=
fi
if [ -n "$SOURCE_DATE_EPOCH" ]; then export SOURCE_DATE_EPOCH; else unset SOURCE_DATE_EPOCH; fi
exec "$@"
