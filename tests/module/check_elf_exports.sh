#!/usr/bin/env bash
# The Linux module defines exactly the seven entry points, with C linkage, and nothing else.
set -euo pipefail
module=$1
expected="NotavoExtensionEnumerate
NotavoExtensionEnumerate_UTF16
NotavoExtensionGetMenuStatus
NotavoExtensionInit
NotavoExtensionInvoke
NotavoExtensionTerminate
NotavoExtensionVersion"
actual=$(nm -D --defined-only "$module" | awk '$2 ~ /^[TtDdBbRrVvWwi]$/ {print $3}' | sort)
if [ "$actual" != "$expected" ]; then
  echo "FAIL: $module defines these dynamic symbols:"
  printf '%s\n' "$actual"
  exit 1
fi
# Everything else the module needs is the C/C++ runtime (versioned by its libraries) or a Windows
# function that the loading process provides.
windows=" BeginDeferWindowPos DeferWindowPos EnableWindow EndDeferWindowPos GetClientRect GetDlgItem
GetModuleHandleA GetParent GetProcAddress GetSystemMetrics GetWindowLongW GetWindowRect
InvalidateRect IsWindowEnabled IsWindowVisible MessageBeep ScreenToClient SendDlgItemMessageA
SendDlgItemMessageW SetActiveWindow SetWindowPos ShowWindow "
windows=$(tr '\n' ' ' <<<"$windows")
# A sanitizer build takes the C library functions from the sanitizer runtime, unversioned.
sanitized=$(readelf -d "$module" | grep -c 'NEEDED.*lib[al]*san\|NEEDED.*libubsan' || true)
while read -r kind name; do
  [ "$kind" = w ] && continue
  case "$name" in *@*) continue ;; esac
  case "$windows" in *" $name "*) continue ;; esac
  [ "$sanitized" -gt 0 ] && continue
  echo "FAIL: unexpected undefined symbol $name"
  exit 1
done < <(nm -D --undefined-only "$module" | awk '{print $(NF-1), $NF}')
echo "ok: $module exports exactly the seven entry points"
