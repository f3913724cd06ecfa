#!/bin/bash
# Usage: check-import.sh OBJDUMP FILE DLL NAME-REGEX
# Passes if FILE imports a function matching NAME-REGEX from DLL (any case).
objdump=$1 file=$2 dll=$3 pattern=$4
"$objdump" -p "$file" | awk -v dll="$(tr 'A-Z' 'a-z' <<<"$dll")" -v pattern="$pattern" '
  /DLL Name:/ { current = tolower($3); next }
  current == dll && $NF ~ ("^(" pattern ")$") { found = 1; print "imports " $NF " from " current }
  END { if (!found) print "no import matching " pattern " from " dll; exit !found }'
