#!/usr/bin/env bash
# Static checks of a Windows build of the module: its export table holds exactly the seven
# entry points under their undecorated names; on i686 each returns with the standard-call pop
# of 4 bytes per argument; it imports only KERNEL32, USER32 and the C runtime.
set -euo pipefail
dll=$1 objdump=$2 arch=$3
fail() { echo "FAIL: $*"; exit 1; }
[ -f "$dll" ] || fail "$dll does not exist"

headers=$("$objdump" -p "$dll")
# The export name table: lines "[ordinal] Name" after "[Ordinal/Name Pointer] Table".
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next} on && /^[ \t]*\[/ {print $NF; next} on && NF==0 {on=0}' <<<"$headers" | sort)
expected=$(printf '%s\n' NotavoExtensionEnumerate NotavoExtensionEnumerate_UTF16 \
  NotavoExtensionGetMenuStatus NotavoExtensionInit NotavoExtensionInvoke \
  NotavoExtensionTerminate NotavoExtensionVersion)
[ "$exports" = "$expected" ] || fail "exports are: $(echo $exports)"

imports=$(awk '/DLL Name:/ {print toupper($3)}' <<<"$headers" | sort -u)
for dll_name in $imports; do
  case "$dll_name" in
    KERNEL32.DLL|USER32.DLL|MSVCRT.DLL) ;;
    API-MS-WIN-CRT-*) ;;
    *) fail "imports $dll_name" ;;
  esac
done
grep -qx KERNEL32.DLL <<<"$imports" || fail "does not import KERNEL32.DLL"

if [ "$arch" = i686 ]; then
  # Each export, found through the export table, must return with the pop of its arguments.
  declare -A pops=([NotavoExtensionVersion]=4 [NotavoExtensionInit]=8 [NotavoExtensionEnumerate]=12
    [NotavoExtensionEnumerate_UTF16]=12 [NotavoExtensionInvoke]=16 [NotavoExtensionTerminate]=4
    [NotavoExtensionGetMenuStatus]=4)
  base=$(awk '$1 == "ImageBase" {print $2; exit}' <<<"$headers")
  for name in "${!pops[@]}"; do
    index=$(awk -v n="$name" '/\[Ordinal\/Name Pointer\] Table/ {on=1; next}
      on && $NF == n {rva = $NF; sub(/^[ \t]*\[ */, ""); print $0 + 0; exit}' <<<"$headers")
    [ -n "$index" ] || fail "$name has no name table entry"
    rva=$(awk -v i="$index" '/^Export Address Table -- / {on=1; next}
      on && /Export RVA/ {rva = $(NF-2); sub(/^[ \t]*\[ */, ""); if ($0 + 0 == i) {print rva; exit}}' <<<"$headers")
    [ -n "$rva" ] || fail "$name has no export address"
    start=$(( 0x$base + 0x$rva ))
    first_ret=$("$objdump" -d --no-show-raw-insn --start-address=$start \
      --stop-address=$(( start + 4096 )) "$dll" | awk '!found && $2 == "ret" {print $NF; found = 1}')
    want=$(printf '$0x%x' "${pops[$name]}")
    [ "$first_ret" = "$want" ] || fail "$name returns with 'ret ${first_ret}', wanted 'ret $want'"
  done
fi
echo "ok: $dll ($arch) exports the seven entry points$([ "$arch" = i686 ] && echo ', each popping its arguments') and imports only: $(echo $imports)"
