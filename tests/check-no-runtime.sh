#!/bin/bash
# Usage: check-no-runtime.sh NM BFD_TARGET FILE...
# Fails if an object references anything but the platform's imports, libgcc's
# helpers and the four memory functions that the start-up provides, or if it
# needs a static constructor or the C++ ABI runtime.
# The target is named so that nm reads the objects' own symbol tables: for
# objects built for link-time optimisation it would otherwise show the
# compiler's table, which leaves out what the code refers to.
nm_program=$1 target=$2; shift 2
nm() { "$nm_program" --target="$target" "$@"; }
# CMake may hand a list of objects as one ';'-separated argument.
IFS=';' read -r -a files <<<"$(IFS=';'; echo "$*")"
set -- "${files[@]}"
status=0
allowed='^(__imp_|___?chkstk|__?(u?div|u?mod|mul|ashl|ashr|lshr)[dst]i3|memcpy$|memmove$|memset$|memcmp$|_?_?(memcpy|memmove|memset|memcmp)$)'
# References between the files themselves (the libraries call each other).
defined=$(for file in "$@"; do nm "$file" | awk 'NF == 3 && $2 != "U" {print $3}'; done | sort -u)
for file in "$@"; do
  undefined=$(nm -u "$file" | awk 'NF == 2 && $1 == "U" {print $2} NF == 1 {print $1}' | grep -v ':$' | sort -u)
  for symbol in $undefined; do
    if grep -qxF -- "$symbol" <<<"$defined"; then continue; fi
    # Each program defines the three functions that the start-up calls.
    [[ $symbol =~ (ProgramEntry|ConstructStatics|DestroyStatics) ]] && continue
    plain=${symbol#_}
    if [[ $symbol =~ $allowed || $plain =~ $allowed ]]; then continue; fi
    echo "$(basename "$file"): runtime symbol $symbol"; status=1
  done
  if nm "$file" | grep -E '_GLOBAL__sub_I_|__cxa_' ; then
    echo "$(basename "$file"): static constructor or C++ runtime"; status=1
  fi
done
[ $status = 0 ] && echo "no runtime symbols in $# files"
exit $status
