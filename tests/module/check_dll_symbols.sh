#!/usr/bin/env bash
# Static check of a Windows build's module as it ships and of its symbols file: the module
# carries no debug information and no symbol table, only a debug link that names the symbols
# file and holds its CRC; the symbols file gives each entry point's source file and line, named
# from the source tree's top, and holds no path of the tree it was built in.
# Usage: check_dll_symbols.sh <module.nxt> <objdump> <source tree>
set -euo pipefail
dll=$1 objdump=$2 source=$3
symbols=$dll.debug
prefix=${objdump%objdump}
fail() { echo "FAIL: $*"; exit 1; }
[ -f "$dll" ] || fail "$dll does not exist"
[ -f "$symbols" ] || fail "$symbols does not exist"

sections=$("$objdump" -h "$dll" | awk '$1 ~ /^[0-9]+$/ {print $2}')
debug=$(grep '^\.debug' <<<"$sections" | tr '\n' ' ' || true)
[ -z "$debug" ] || fail "$dll carries debug sections: $debug"
[ -z "$("${prefix}nm" "$dll" 2>/dev/null)" ] || fail "$dll carries a symbol table"

# The debug link: the symbols file's name, a zero byte, padding to 4 bytes, then the CRC-32 of
# the symbols file, little-endian. gzip's trailer holds the same CRC of what it compressed.
link=$("$objdump" -s -j .gnu_debuglink "$dll" |
  awk '/^ [0-9a-f]+ / {for (i = 2; i <= 5; i++) if ($i ~ /^[0-9a-f]+$/) printf "%s", $i}')
[ -n "$link" ] || fail "$dll has no debug link"
name=$(printf "$(sed 's/../\\x&/g' <<<"${link%????????}")" | tr -d '\0')
[ "$name" = "$(basename "$symbols")" ] || fail "the debug link names '$name'"
crc=${link: -8}
crc=${crc:6:2}${crc:4:2}${crc:2:2}${crc:0:2}
want=$(gzip -c "$symbols" | tail -c 8 | head -c 4 | od -An -tx4 | tr -d ' ')
[ "$crc" = "$want" ] || fail "the debug link's CRC is $crc, the symbols file's $want"

for section in .debug_info .debug_line; do
  "$objdump" -h "$symbols" | grep -q " $section " || fail "$symbols has no $section"
done
lines=0
# The entry points by address: on i686 each has two names, with and without its @N.
for entry in $("${prefix}nm" "$symbols" |
  awk '$2 == "T" && $3 ~ /^_?NotavoExtension[A-Za-z0-9_]*(@[0-9]+)?$/ && !seen[$1]++ {print $1 "=" $3}'); do
  where=$("${prefix}addr2line" -e "$symbols" "0x${entry%%=*}")
  file=${where%:*} line=${where##*:}
  case $file in /*) fail "${entry#*=} is placed at an absolute path: $where" ;; esac
  [ "$line" -gt 0 ] 2>/dev/null || fail "${entry#*=} has no line: $where"
  [ -f "$(realpath -m "$source/$file")" ] || fail "${entry#*=} is placed in no file of the tree: $where"
  lines=$((lines + 1))
done
[ "$lines" -eq 7 ] || fail "$symbols places $lines entry points, not 7"
top=$(realpath "$source")
for file in "$dll" "$symbols"; do
  ! grep -q -F "$top" "$file" || fail "$file holds the path of the tree it was built in, $top"
done
echo "ok: $dll ($(stat -c %s "$dll") bytes) carries no debug information and links to" \
  "$(basename "$symbols") ($(stat -c %s "$symbols") bytes), which places the 7 entry points" \
  "by file and line, e.g. $where"
