#!/bin/bash
# Usage: check-dravik.sh OBJDUMP FILE
# dravik is meant to stay tiny: at most 3 KiB, importing only kernel32 and
# user32, no resources, with address-space randomisation and no-execute on.
objdump=$1 file=$2
status=0
size=$(stat -c %s "$file")
if [ "$size" -gt 3072 ]; then echo "dravik.exe is $size bytes, more than 3072"; status=1; fi
headers=$("$objdump" -p "$file")
dlls=$(awk '/DLL Name:/ {print toupper($3)}' <<<"$headers" | sort -u | tr '\n' ' ')
if [ "$dlls" != "KERNEL32.DLL USER32.DLL " ]; then echo "dravik.exe imports: $dlls"; status=1; fi
for flag in DYNAMIC_BASE NX_COMPAT; do
  grep -qw "$flag" <<<"$headers" || { echo "dravik.exe lacks $flag"; status=1; }
done
if "$objdump" -h "$file" | grep -q '\.rsrc'; then echo "dravik.exe has resources"; status=1; fi
[ $status = 0 ] && echo "dravik.exe: $size bytes, imports $dlls"
exit $status
