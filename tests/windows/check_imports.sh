#!/bin/bash
# Fails when a Windows build imports anything not in platform/windows/allowed_imports.txt, naming each such import.
# Usage: check_imports.sh EXE ALLOWED_LIST [OBJDUMP]
set -u -o pipefail

exe=$1
allowed_list=$2
objdump=${3:-i686-w64-mingw32-objdump}

[ -f "$exe" ] || { echo "FAIL: no such program file: $exe"; exit 1; }
[ -f "$allowed_list" ] || { echo "FAIL: no such list: $allowed_list"; exit 1; }

# DLL names compare without case, as the loader compares them; function names are looked up by exact name.
allowed=$(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$allowed_list" | awk -F'!' 'NF == 2 { print toupper($1) "!" $2 }')
allowed_dlls=$(printf '%s\n' "$allowed" | cut -d'!' -f1 | sort -u)

dump=$("$objdump" -p "$exe") || { echo "FAIL: $objdump -p $exe did not run"; exit 1; }

# One DLL!function per import; an import by ordinal alone comes out as DLL!#ordinal.
imports=$(printf '%s\n' "$dump" | awk '
  /^The Import Tables/ { in_imports = 1; next }
  in_imports && /^[A-Z]/ && !/^The Import Tables/ { in_imports = 0 }
  !in_imports { next }
  /DLL Name:/ { dll = toupper($3); next }
  dll != "" && /^\t[0-9a-f]+\t/ {
    if (NF >= 3) print dll "!" $3; else print dll "!#" $2
  }')

if [ -z "$imports" ]; then
  echo "FAIL: found no imports in $exe: the import table is missing or could not be read"
  exit 1
fi

status=0
while IFS= read -r dll; do
  if ! grep -qxF "$dll" <<<"$allowed_dlls"; then
    echo "FAIL: imports from $dll, which is none of: $(echo $allowed_dlls)"
    status=1
  fi
done < <(printf '%s\n' "$imports" | cut -d'!' -f1 | sort -u)

while IFS= read -r import; do
  if ! grep -qxF "$import" <<<"$allowed"; then
    echo "FAIL: import $import is not in $allowed_list"
    status=1
  fi
done <<<"$imports"

echo "$(wc -l <<<"$imports") imports of $exe checked:"
printf '  %s\n' $imports
[ $status -eq 0 ] && echo "PASS: every import is allowed"
exit $status
