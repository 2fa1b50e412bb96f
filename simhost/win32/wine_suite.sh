#!/usr/bin/env bash
# One Windows architecture under Wine on a virtual X screen: the checks of the host's Win32
# pieces, every scenario on NOTAVO.EXE (the substitute host on the real USER32) with that
# architecture's DLL, then a picture of the dialog, checked. x86_64 runs under wine64; i686, the
# DLL users install, under 32-bit Wine, whose i386 processes the kernel hands to QEMU's
# user-mode emulator through binfmt_misc.
# What runs is what ships: NOTAVO.EXE, the checks and the x86_64 DLL come from the Release build of
# the architecture's preset (build/mingw-ARCH), and the i686 DLL is taken out of the package that
# `make dist` wrote (dist/), the zip a user installs from. Keeps a Wine prefix in
# build/wine-prefix-ARCH (set up on first use) and leaves its results in build/wine/ARCH:
# scenarios.txt holds one PASS or FAIL line a file.
# Usage: wine_suite.sh x86_64|i686 <scenario file>...
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
arch=${1:-}
case $arch in
  x86_64) loader=/usr/lib/wine/wine64 winearch=win64 ;;
  i686) loader=/usr/lib/wine/wine winearch=win32 ;;
  *) echo "usage: wine_suite.sh x86_64|i686 <scenario file>..."; exit 2 ;;
esac
shift
[ $# -gt 0 ] || { echo "usage: wine_suite.sh x86_64|i686 <scenario file>..."; exit 2; }
say() { echo "wine suite ($arch): $*"; }

# Wine, QEMU and the rest: installed when root, else one line says what to run.
bash "$root/tools/install_packages.sh" "wine-$arch"
wineserver=/usr/lib/wine/wineserver
for tool in "$loader" "$wineserver"; do
  [ -x "$tool" ] || { say "cannot run: $tool is missing after the install"; exit 1; }
done

build=$root/build/mingw-$arch
out=$root/build/wine/$arch
export WINEPREFIX=$root/build/wine-prefix-$arch WINEARCH=$winearch WINEDEBUG=-all
screen=(xvfb-run -a -s "-screen 0 1280x1024x24")

cmake --preset "mingw-$arch" >/dev/null
cmake --build --preset "mingw-$arch" --target QuorNoteSpacing NOTAVO win32_checks
exe=$build/simhost/win32/NOTAVO.EXE
checks=$build/simhost/win32/win32_checks.exe
rm -rf "$out"
mkdir -p "$out"
if [ "$arch" = i686 ]; then
  # The package's name is the one its CPack configuration gives it.
  package=$(sed -n 's/^set(CPACK_ARCHIVE_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
  zip=$root/dist/$package.zip
  [ -n "$package" ] && [ -f "$zip" ] || { say "cannot run: no package ${zip:-in dist/}; make dist writes it"; exit 1; }
  mkdir "$out/package"
  (cd "$out/package" && cmake -E tar xf "$zip")
  module=$out/package/QuorNoteSpacing.nxt
  # The same source makes the same bytes, so a package of another tree or an older build shows.
  cmp -s "$module" "$build/QuorNoteSpacing.nxt" ||
    { say "cannot run: the package's module is not the one this tree builds; make dist writes it anew"; exit 1; }
  say "the module from the package $(realpath --relative-to="$root" "$zip")," \
    "SHA-256 $(sha256sum "$module" | cut -d ' ' -f 1)"
else
  module=$build/QuorNoteSpacing.nxt
fi
[ -f "$module" ] || { say "cannot run: $module is missing"; exit 1; }

# A fresh prefix takes a while to boot, so it is made once. Wine draws the window frames itself
# and leaves the windows unmanaged: the virtual screen has no window manager to do either. The
# set-up has no display, and a server it leaves running would keep that: wait for it to end.
if [ ! -f "$WINEPREFIX/.quor-ready" ]; then
  say "setting up the Wine prefix in $WINEPREFIX (once)"
  started=$SECONDS
  rm -rf "$WINEPREFIX"
  DISPLAY='' "$loader" wineboot --init >/dev/null 2>&1 || { say "wineboot failed"; exit 1; }
  for value in Decorated Managed; do
    DISPLAY='' "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v $value /t REG_SZ /d N /f \
      >/dev/null 2>&1 || { say "cannot set the X11 driver's $value"; exit 1; }
  done
  "$wineserver" -w
  touch "$WINEPREFIX/.quor-ready"
  say "prefix set up in $((SECONDS - started)) s"
fi
# Processes of an earlier run would keep their display; start afresh.
"$wineserver" -w

started=$SECONDS
status=0
# The host's Win32 pieces on their own, then the scenarios on the whole host. The programs write
# their lines in text mode, ending them with CR LF.
say "the host's Win32 checks"
"${screen[@]}" "$loader" "$checks" "$module" "$out" 2>"$out/checks.stderr" | tr -d '\r' || status=1
"$wineserver" -w
say "every scenario on NOTAVO.EXE with $(realpath --relative-to="$root" "$module")"
"${screen[@]}" "$loader" "$exe" --module "$module" --scenario "$@" 2>"$out/scenarios.stderr" |
  tr -d '\r' | tee "$out/scenarios.txt" || status=1
grep -q '^PASS ' "$out/scenarios.txt" || { say "no scenario ran"; status=1; }
"$wineserver" -w

picture=$("${screen[@]}" "$loader" "$exe" --module "$module" --screenshot "$out/dialog.bmp" \
  2>"$out/screenshot.stderr" | tr -d '\r') || true
echo "$picture"
size=$(sed -n 's/^size //p' <<<"$picture")
"$wineserver" -w
if [ -z "$size" ] || [ ! -f "$out/dialog.bmp" ]; then
  echo "FAIL screenshot: no picture of the dialog"
  status=1
else
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
fi
say "$([ $status -eq 0 ] && echo passed || echo FAILED) in $((SECONDS - started)) s (build and prefix set-up aside)"
exit $status
