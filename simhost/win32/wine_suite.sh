#!/usr/bin/env bash
# Under wine64 and a virtual X screen: the checks of the host's Win32 pieces, every scenario on
# NOTAVO.EXE (the substitute host on the real USER32), then a picture of the dialog, checked.
# Builds what it needs in build/wine-x86_64 and keeps its Wine prefix in build/wine-prefix,
# set up on first use.
# Usage: wine_suite.sh <scenario file>...
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=$root/build/wine-x86_64
out=$root/build/wine
export WINEPREFIX=$root/build/wine-prefix
export WINEDEBUG=-all
screen=(xvfb-run -a -s "-screen 0 1280x1024x24")

cannot() { echo "cannot run the Wine suite: $*"; exit 1; }

find_wine64() {
  command -v wine64 2>/dev/null || { [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64; } || true
}
find_wineserver() {
  command -v wineserver 2>/dev/null || { [ -x /usr/lib/wine/wineserver ] && echo /usr/lib/wine/wineserver; } || true
}
missing() {
  local tools=()
  command -v x86_64-w64-mingw32-g++ >/dev/null || tools+=(x86_64-w64-mingw32-g++)
  [ -n "$(find_wine64)" ] || tools+=(wine64)
  command -v xvfb-run >/dev/null || tools+=(xvfb-run)
  command -v xauth >/dev/null || tools+=(xauth)
  command -v convert >/dev/null && command -v identify >/dev/null || tools+=(convert)
  echo "${tools[*]}"
}

need=$(missing)
if [ -n "$need" ]; then
  [ "$(id -u)" = 0 ] || cannot "$need missing and not root to install them (apt-get install mingw-w64 wine wine64 xvfb xauth imagemagick)"
  echo "wine suite: installing what is missing: $need"
  apt-get update -qq || cannot "apt-get update failed"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq mingw-w64 wine wine64 xvfb xauth imagemagick \
    >/dev/null || cannot "apt-get install failed"
  need=$(missing)
  [ -z "$need" ] || cannot "$need still missing after apt-get install"
fi
wine64=$(find_wine64)
wineserver=$(find_wineserver)

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target QuorNoteSpacing NOTAVO win32_checks
exe=$build/simhost/win32/NOTAVO.EXE
checks=$build/simhost/win32/win32_checks.exe
module=$build/QuorNoteSpacing.nxt

# A fresh prefix takes a while to boot, so it is made once. Wine draws the window frames itself
# and leaves the windows unmanaged: the virtual screen has no window manager to do either.
if [ ! -f "$WINEPREFIX/.quor-ready" ]; then
  echo "wine suite: setting up the Wine prefix in $WINEPREFIX (once)"
  rm -rf "$WINEPREFIX"
  DISPLAY= "$wine64" wineboot --init >/dev/null 2>&1 || cannot "wineboot failed"
  for value in Decorated Managed; do
    DISPLAY= "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v $value /t REG_SZ /d N /f \
      >/dev/null 2>&1 || cannot "cannot set the X11 driver's $value"
  done
  "$wineserver" -w
  touch "$WINEPREFIX/.quor-ready"
fi
# Processes of an earlier run (or of the setup) would keep their display; start afresh.
"$wineserver" -w

mkdir -p "$out"
status=0
# The host's Win32 pieces on their own, then the scenarios on the whole host.
"${screen[@]}" "$wine64" "$checks" "$module" "$out" 2>"$out/checks.stderr" | tr -d '\r' || status=1
"$wineserver" -w
"${screen[@]}" "$wine64" "$exe" --module "$module" --scenario "$@" 2>"$out/scenarios.stderr" |
  tr -d '\r' | tee "$out/scenarios.txt" || status=1
grep -q '^PASS ' "$out/scenarios.txt" || { echo "wine suite: no scenario ran"; status=1; }
"$wineserver" -w

rm -f "$out/dialog.bmp" "$out/dialog.png"
# The program writes its lines in text mode, ending them with CR LF.
picture=$("${screen[@]}" "$wine64" "$exe" --module "$module" --screenshot "$out/dialog.bmp" \
  2>"$out/screenshot.stderr" | tr -d '\r') || true
echo "$picture"
size=$(sed -n 's/^size //p' <<<"$picture")
"$wineserver" -w
if [ -z "$size" ] || [ ! -f "$out/dialog.bmp" ]; then
  echo "FAIL screenshot: no picture of the dialog"
  exit 1
fi
convert "$out/dialog.bmp" "$out/dialog.png"
read -r width height colours < <(identify -format '%w %h %k\n' "$out/dialog.png")
if [ "${width}x${height}" != "$size" ]; then
  echo "FAIL screenshot: the picture is ${width}x${height}, the dialog $size"
  status=1
elif [ "$colours" -le 8 ]; then
  echo "FAIL screenshot: the picture has only $colours colours"
  status=1
else
  echo "PASS screenshot: $out/dialog.png, ${width}x${height}, $colours colours"
fi
exit $status
