#!/usr/bin/env bash
# Static check of NOTAVO.EXE, the substitute host for Windows: it exports exactly the NX_
# services of the list (one name a line in NAMES) by their undecorated names, as the extension
# looks them up with GetProcAddress, and on i686 each returns popping its own arguments (the
# standard call), as the extension calls them.
#
#   check_host_exports.sh EXE OBJDUMP ARCH NAMES
set -euo pipefail
exe=$1 objdump=$2 arch=$3 names=$4
fail() { echo "FAIL: $*"; exit 1; }
[ -f "$exe" ] || fail "$exe does not exist"
wanted=$(grep -c . "$names" || true)
[ "$wanted" -gt 0 ] || fail "$names lists no services"

headers=$("$objdump" -p "$exe")
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next} on && /^[ \t]*\[/ {print $NF; next} on && NF==0 {on=0}' <<<"$headers")
count=$(grep -c . <<<"$exports" || true)
[ "$count" = "$wanted" ] || fail "$exe exports $count names, wanted $wanted: $(echo $exports)"
bad=$(grep -vE '^NX_[A-Za-z0-9_]+$' <<<"$exports" || true)
[ -z "$bad" ] || fail "decorated or foreign exports: $(echo $bad)"
differ=$(diff <(sort "$names") <(sort <<<"$exports") || true)
[ -z "$differ" ] || fail "the exports are not the listed services: $(echo $differ)"

if [ "$arch" = i686 ]; then
  base=$(awk '$1 == "ImageBase" {print $2; exit}' <<<"$headers")
  while read -r name; do
    index=$(awk -v n="$name" '/\[Ordinal\/Name Pointer\] Table/ {on=1; next}
      on && $NF == n {sub(/^[ \t]*\[ */, ""); print $0 + 0; exit}' <<<"$headers")
    rva=$(awk -v i="$index" '/^Export Address Table -- / {on=1; next}
      on && /Export RVA/ {rva = $(NF-2); sub(/^[ \t]*\[ */, ""); if ($0 + 0 == i) {print rva; exit}}' <<<"$headers")
    [ -n "$rva" ] || fail "$name has no export address"
    start=$(( 0x$base + 0x$rva ))
    first_ret=$("$objdump" -d --no-show-raw-insn --start-address=$start \
      --stop-address=$(( start + 4096 )) "$exe" | awk '!found && $2 == "ret" {print $NF; found = 1}')
    [[ "$first_ret" =~ ^\$0x[0-9a-f]+$ ]] || fail "$name returns with 'ret ${first_ret}': the caller would have to pop"
  done <<<"$exports"
fi
echo "ok: $exe ($arch) exports the $wanted NX_ services undecorated$([ "$arch" = i686 ] && echo ', each popping its arguments')"
