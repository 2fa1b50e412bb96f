#!/usr/bin/env bash
# Static check of a Windows build of the module: its resources hold the note spacing dialog,
# IDD_NOTE_SPACING of type DIALOG (5), whose template (DLGTEMPLATE or DLGTEMPLATEEX) has as many
# items as the ids header names. The host creates the dialog from the module's own resources,
# so a build without it opens nothing.
set -euo pipefail
dll=$1 objdump=$2
ids="$(dirname "$0")/../../resources/note_spacing_dialog_ids.h"
fail() { echo "FAIL: $*"; exit 1; }
dialog_id=$(sed -n 's/^#define IDD_NOTE_SPACING \([0-9][0-9]*\)$/\1/p' "$ids")
items=$(grep -c '^#define IDC_' "$ids")
[ -n "$dialog_id" ] || fail "$ids names no IDD_NOTE_SPACING"
[ -f "$dll" ] || fail "$dll does not exist"

headers=$("$objdump" -p "$dll")
base=$(awk '$1 == "ImageBase" {print $2; exit}' <<<"$headers")
# The resource tree as objdump prints it: type entries, then name entries, then language
# entries, each level indented further, and a leaf with the data's address under each language.
leaf=$(awk -v type=$(printf '0x%06x' 5) -v name=$(printf '0x%06x' $dialog_id) '
  /Resource Directory section/ {on = 1; next}
  !on {next}
  /Entry: ID:/ {
    match($0, /^[0-9a-f]+ +/); depth = RLENGTH
    id = $4; sub(/,$/, "", id)
    if (!typeDepth) typeDepth = depth
    if (depth == typeDepth) {curType = id; curName = ""} else if (!nameDepth || depth == nameDepth) {nameDepth = depth; curName = id}
  }
  /Leaf: Addr:/ && curType == type && curName == name {addr = $4; size = $6; sub(/,$/, "", addr); sub(/,$/, "", size); print addr, size; exit}
' <<<"$headers")
[ -n "$leaf" ] || fail "no DIALOG resource $dialog_id in $dll"
read -r addr size <<<"$leaf"
start=$(( 0x$base + addr ))
# The template's first 18 bytes are enough for both layouts' item counts.
bytes=$("$objdump" -s -j .rsrc --start-address=$start --stop-address=$(( start + 18 )) "$dll" |
  awk '/^ [0-9a-f]+ / {for (i = 2; i <= 5 && i <= NF; i++) if ($i ~ /^[0-9a-f]+$/) printf "%s", $i}')
[ ${#bytes} -ge 36 ] || fail "dialog $dialog_id is too short: $(( size )) bytes"
word() { echo $(( 0x${bytes:$(( $1 * 2 + 2 )):2}${bytes:$(( $1 * 2 )):2} )); }
if [ "$(word 0)" = 1 ] && [ "$(word 2)" = 65535 ]; then
  layout=DLGTEMPLATEEX count=$(word 16)
else
  layout=DLGTEMPLATE count=$(word 8)
fi
[ "$count" = "$items" ] || fail "dialog $dialog_id ($layout) has $count items, wanted $items"
echo "ok: $dll holds DIALOG $dialog_id ($layout, $(( size )) bytes) with $count items"
