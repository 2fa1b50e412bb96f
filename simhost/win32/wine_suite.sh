#!/usr/bin/env bash
# One Windows architecture under Wine on a virtual X screen: the checks of the host's Win32
# pieces, every scenario on NOTAVO.EXE (the substitute host on the real USER32) with that
# architecture's DLL, then a picture of the dialog, checked. x86_64 runs under wine64; i686, the
# DLL users install, under 32-bit Wine, whose i386 processes the kernel hands to QEMU's
# user-mode emulator through binfmt_misc.
# What runs is what ships: NOTAVO.EXE, the checks and the x86_64 DLL come from the Release build of
# the architecture's preset (build/mingw-ARCH), and the i686 DLL is taken out of the package that
# `make package` wrote (dist/), the zip a user installs from. Keeps its Wine prefix in the user's
# cache, outside the build, keyed by the Wine version and the set-up steps
# (wine_prefix_setup.sh), so that a clean build does not boot a new one; set
# QUOR_WINE_PREFIXES to keep them elsewhere. Leaves its results in build/wine/ARCH: scenarios.txt
# holds one PASS or FAIL line a file.
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
# The prefix's key: what Wine it was booted by, and how.
source "$root/simhost/win32/wine_prefix_setup.sh"
wine_version=$("$loader" --version 2>/dev/null | tr -c 'A-Za-z0-9.\n' '-' | head -n 1)
setup_hash=$(sha256sum "$root/simhost/win32/wine_prefix_setup.sh" | cut -c 1-12)
prefixes=${QUOR_WINE_PREFIXES:-${XDG_CACHE_HOME:-$HOME/.cache}/quor-note-spacing}
export WINEPREFIX=$prefixes/wine-$arch-$wine_version-$setup_hash WINEARCH=$winearch WINEDEBUG=-all
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
  [ -n "$package" ] && [ -f "$zip" ] || { say "cannot run: no package ${zip:-in dist/}; make package writes it"; exit 1; }
  mkdir "$out/package"
  (cd "$out/package" && cmake -E tar xf "$zip")
  module=$out/package/QuorNoteSpacing.nxt
  # The same source makes the same bytes, so a package of another tree or an older build shows.
  cmp -s "$module" "$build/QuorNoteSpacing.nxt" ||
    { say "cannot run: the package's module is not the one this tree builds; make package writes it anew"; exit 1; }
  say "the module from the package $(realpath --relative-to="$root" "$zip")," \
    "SHA-256 $(sha256sum "$module" | cut -d ' ' -f 1)"
else
  module=$build/QuorNoteSpacing.nxt
fi
[ -f "$module" ] || { say "cannot run: $module is missing"; exit 1; }

# One run at a time uses a prefix, whichever checkout it comes from.
mkdir -p "$prefixes"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.quor-ready" ]; then
  say "setting up the Wine prefix in $WINEPREFIX (once)"
  started=$SECONDS
  set_up_prefix || exit 1
  touch "$WINEPREFIX/.quor-ready"
  say "prefix set up in $((SECONDS - started)) s"
fi
# Processes of an earlier run would keep their display; start afresh.
"$wineserver" -w

started=$SECONDS
status=0
export root arch loader wineserver exe checks module out
"${screen[@]}" bash "$root/simhost/win32/wine_session.sh" "$@" || status=1
grep -qs '^PASS ' "$out/scenarios.txt" || { say "no scenario ran"; status=1; }
picture=$(cat "$out/screenshot.txt" 2>/dev/null || true)
echo "$picture"
size=$(sed -n 's/^size //p' <<<"$picture")
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
