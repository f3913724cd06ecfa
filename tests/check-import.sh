#!/bin/bash
# Usage: check-import.sh OBJDUMP FILE DLL NAME-REGEX
#        check-import.sh --at-run-time OBJDUMP FILE DLL NAME
# Passes if FILE imports a function matching NAME-REGEX from DLL (any case).
# With --at-run-time, passes if FILE instead takes the function NAME from DLL
# at run time from the system folder: it does not import DLL, it holds both
# names, and it imports what loads a library by its path in the system
# folder and finds a function in it, and nothing that loads one by name.
if [ "$1" = --at-run-time ]; then
  objdump=$2 file=$3 dll=$4 name=$5
  status=0
  "$objdump" -p "$file" | grep -qi "DLL Name: $dll" && { echo "imports $dll"; status=1; }
  for text in "$dll" "$name"; do
    grep -qaF "$text" "$file" || { echo "does not name $text"; status=1; }
  done
  for function in GetSystemDirectoryA LoadLibraryExA GetProcAddress; do
    bash "$0" "$objdump" "$file" kernel32.dll "$function" >/dev/null || { echo "does not import $function"; status=1; }
  done
  # The path route needs no other load: one by bare name would take the
  # library from beside the program, or whatever copy is already loaded.
  bash "$0" "$objdump" "$file" kernel32.dll 'LoadLibrary(A|W|ExW)' | grep '^imports' && status=1
  [ $status = 0 ] && echo "takes $name from the system folder's $dll at run time"
  exit $status
fi
objdump=$1 file=$2 dll=$3 pattern=$4
"$objdump" -p "$file" | awk -v dll="$(tr 'A-Z' 'a-z' <<<"$dll")" -v pattern="$pattern" '
  /DLL Name:/ { current = tolower($3); next }
  current == dll && $NF ~ ("^(" pattern ")$") { found = 1; print "imports " $NF " from " current }
  END { if (!found) print "no import matching " pattern " from " dll; exit !found }'
