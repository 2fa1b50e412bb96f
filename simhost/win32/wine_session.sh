#!/usr/bin/env bash
# The Wine suite's three runs in one Wine session, on the one virtual screen that wine_suite.sh
# starts for them: the checks of the host's Win32 pieces, every scenario on NOTAVO.EXE, then the
# dialog's picture. The Wine server and its desktop stay up from one run to the next, so only
# the first run boots Wine; they cannot outlive the screen, whose windows they hold, so the
# session waits for the server to end before it returns.
# Needs: root, arch, loader, wineserver, exe, checks, module and out from wine_suite.sh. Its
# functions cannot come along: xvfb-run's shell drops them from the environment.
# Usage: wine_session.sh <scenario file>...
set -uo pipefail
say() { echo "wine suite ($arch): $*"; }

status=0
# The programs write their lines in text mode, ending them with CR LF.
say "the host's Win32 checks"
"$loader" "$checks" "$module" "$out" 2>"$out/checks.stderr" | tr -d '\r' || status=1
say "every scenario on NOTAVO.EXE with $(realpath --relative-to="$root" "$module")"
"$loader" "$exe" --module "$module" --scenario "$@" 2>"$out/scenarios.stderr" |
  tr -d '\r' | tee "$out/scenarios.txt" || status=1
# The picture's size line is read by the suite, which checks the picture.
"$loader" "$exe" --module "$module" --screenshot "$out/dialog.bmp" \
  2>"$out/screenshot.stderr" | tr -d '\r' >"$out/screenshot.txt" || true
"$wineserver" -w
exit $status
