#!/bin/bash
# Fails unless a Windows build of Veltrask is a Windows 4.0 GUI program with Japanese resources, naming each fault.
# Checked: machine type, subsystem and versions, file alignment, string table, icon and version block.
# Usage: check_headers.sh EXE i686|x86_64 [OBJDUMP] [WINDRES]
set -u -o pipefail
export LC_ALL=C.UTF-8

exe=$1
arch=$2
objdump=${3:-$arch-w64-mingw32-objdump}
windres=${4:-$arch-w64-mingw32-windres}

case $arch in
  i686) machine=014c ;;
  x86_64) machine=8664 ;;
  *) echo "FAIL: unknown architecture $arch"; exit 1 ;;
esac
[ -f "$exe" ] || { echo "FAIL: no such program file: $exe"; exit 1; }

status=0
fail() { echo "FAIL: $*"; status=1; }

# The machine field follows the "PE\0\0" signature that the DOS header's e_lfanew (offset 0x3C) points at.
pe_offset=$(od -An -tu4 -j 60 -N 4 "$exe" | tr -d ' ')
signature=$(od -An -tx1 -j "$pe_offset" -N 4 "$exe" | tr -d ' ')
found_machine=$(od -An -tx2 -j $((pe_offset + 4)) -N 2 "$exe" | tr -d ' ')
[ "$signature" = 50450000 ] || fail "no PE signature at offset $pe_offset (found $signature)"
[ "$found_machine" = "$machine" ] || fail "machine type is $found_machine, not $machine"

dump=$("$objdump" -p "$exe") || { echo "FAIL: $objdump -p $exe did not run"; exit 1; }
header_field() { awk -v name="$1" '$1 == name { print $2; exit }' <<<"$dump"; }
expect_field() {
  local value
  value=$(header_field "$1")
  [ "$value" = "$2" ] || fail "$1 is '${value}', not '$2'"
}
expect_field Subsystem 00000002
expect_field MajorSubsystemVersion 4
expect_field MinorSubsystemVersion 0
expect_field MajorOSystemVersion 4
expect_field MinorOSystemVersion 0
expect_field FileAlignment 00000200

# windres reads the linked .rsrc back as resource script text: a LANGUAGE line stands for every resource after it
# until the next. Wide strings come out with \xNNNN escapes, decoded here to UTF-8 so they compare as written.
resources=$("$windres" -i "$exe" -O rc 2>&1) || { echo "FAIL: $windres cannot read the resources: $resources"; exit 1; }
decoded=$(while IFS= read -r line; do
  printf '%b\n' "$(sed -e 's/\\/\\\\/g' -e 's/\\\\x\([0-9a-fA-F]\{4\}\)/\\u\1/g' -e 's/L"/"/g' <<<"$line")"
done <<<"$resources")

# Prints the resource of a kind (the word after the name: STRINGTABLE, VERSIONINFO, RT_GROUP_ICON) with the
# language in force, as "LANGUAGE l, s" followed by the resource's lines.
resource_of_kind() {
  awk -v kind="$1" '
    /^LANGUAGE / { language = $0 }
    !inside && ($0 ~ "^" kind || $0 ~ "^[0-9A-Za-z_]+ " kind || $0 ~ "/\\* " kind " \\*/") {
      inside = 1; depth = 0; print language
    }
    inside { print }
    inside && /^[[:space:]]*BEGIN/ { depth++ }
    inside && /^[[:space:]]*END/ { if (--depth == 0) exit }' <<<"$decoded"
}
expect_resource() {
  local kind=$1 block
  shift
  block=$(resource_of_kind "$kind")
  if [ -z "$block" ]; then
    fail "no $kind resource"
    return
  fi
  [ "$(head -n 1 <<<"$block")" = "LANGUAGE 17, 1" ] ||
    fail "$kind is in language '$(head -n 1 <<<"$block")', not Japanese (LANGUAGE 17, 1 = 0x0411)"
  local want
  for want in "$@"; do
    grep -qF -- "$want" <<<"$block" || fail "$kind lacks: $want"
  done
}

expect_resource STRINGTABLE '  1, "ZOV 4260-WIN ｱﾝｲﾝｽﾄｰﾗ"'
expect_resource RT_GROUP_ICON '"\020\020' '"\040\040'
expect_resource VERSIONINFO \
  ' FILEVERSION 2, 0, 0, 1' \
  ' PRODUCTVERSION 2, 0, 0, 1' \
  'BLOCK "041103A4"' \
  'VALUE "CompanyName", "ZOV"' \
  'VALUE "FileDescription", "ZOV 4260-WIN アンインストーラ"' \
  'VALUE "FileVersion", "2.0.0.1"' \
  'VALUE "InternalName", "Veltrask"' \
  'VALUE "OriginalFilename", "Veltrask.exe"' \
  'VALUE "ProductName", "ZOV 4260-WIN アンインストーラ"' \
  'VALUE "ProductVersion", "2.0.0.1"' \
  'VALUE "Translation", 0x411, 932'

[ $status -eq 0 ] && echo "PASS: $exe is a Windows 4.0 GUI program for machine $machine with Japanese resources"
exit $status
