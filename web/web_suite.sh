#!/usr/bin/env bash
# The browser suite: try.html in headless chromium against the native notavo-sim, on every score
# of samples/scores and tests/app/scores and a compressed one (web/tests/try_page_suite.mjs). Its outputs, the
# screenshot among them, are left in build/web/suite/.
# Both builds must be there: `make test-web` builds them first.
# Usage: web_suite.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
page=$root/build/web/try.html
sim=$root/build/native/simhost/app/notavo-sim
out=$root/build/web/suite
cannot() {
  echo "web suite: cannot run: $*"
  exit 1
}

[ -x /usr/bin/chromium ] || cannot "/usr/bin/chromium is missing; bash tools/install_packages.sh web installs it"
command -v node >/dev/null || cannot "node is missing; bash tools/install_packages.sh web installs it"
for file in "$page" "$sim"; do
  [ -f "$file" ] || cannot "${file#"$root"/} is missing; make test-web builds it"
done
modules=$(bash tools/npm/modules.sh dir) || cannot "$modules"
[ -d "$modules/playwright-core" ] || cannot "playwright-core is not in $modules; bash tools/npm/modules.sh install"
rm -rf "$out"
mkdir -p "$out"
# A compressed score too (MusicXML's .mxl), as the wasm suite writes it.
python3 simhost/wasm/make_archives.py samples/scores/two_parts.musicxml "$out/archives" >/dev/null
bash tools/npm/modules.sh run node web/tests/try_page_suite.mjs "$page" "$sim" "$out" \
  "$root"/samples/scores/* "$root"/tests/app/scores/* "$out/archives/score.mxl"
