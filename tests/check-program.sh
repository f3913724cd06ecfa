#!/bin/bash
# Usage: check-program.sh OBJDUMP FILE LIMIT "DLL..." resources|no-resources
# A deliverable program stays tiny: at most LIMIT bytes, importing exactly the
# given libraries, with address-space randomisation and no-execute on, marked
# as free of structured exception handlers and aware of terminal servers, and
# with no section that is both writable and executable (merged sections must
# not undo what no-execute is for).
objdump=$1 file=$2 limit=$3 expected=$4 resources=$5
name=$(basename "$file")
status=0
size=$(stat -c %s "$file")
if [ "$size" -gt "$limit" ]; then echo "$name is $size bytes, more than $limit"; status=1; fi
headers=$("$objdump" -p "$file")
dlls=$(awk '/DLL Name:/ {print toupper($3)}' <<<"$headers" | sort -u | tr '\n' ' ')
if [ "$dlls" != "$expected " ]; then echo "$name imports: $dlls"; status=1; fi
for flag in DYNAMIC_BASE NX_COMPAT NO_SEH TERMINAL_SERVICE_AWARE; do
  grep -qw "$flag" <<<"$headers" || { echo "$name lacks $flag"; status=1; }
done
# "Entry 5 ADDRESS SIZE Base Relocation Directory": the size must not be zero.
grep -q 'Base Relocation Directory' <<<"$headers" &&
  awk '/Base Relocation Directory/ {exit !($4 != "00000000")}' <<<"$headers" ||
  { echo "$name has no relocations to move it by"; status=1; }
# Section flags follow the section's line of objdump -h.
wx=$("$objdump" -h "$file" | awk '/^ +[0-9]+ / {name = $2; next}
  /CODE/ && !/READONLY/ {print name}')
if [ -n "$wx" ]; then echo "$name: writable code in $wx"; status=1; fi
has_rsrc=no-resources
"$objdump" -h "$file" | grep -q '\.rsrc' && has_rsrc=resources
if [ "$has_rsrc" != "$resources" ]; then echo "$name: $has_rsrc, expected $resources"; status=1; fi
[ $status = 0 ] && echo "$name: $size bytes, imports $dlls"
exit $status
