#!/usr/bin/env bash
# A scenario ends the same way wherever it runs: on the headless host, under Wine on each Windows
# architecture, and under Node on the wasm32 build. A file that passes in one place and fails in
# another points at a fault of that place alone (a calling convention, a structure's layout, a
# message the real USER32 sends differently), so any difference fails, and so does a file one
# place did not run.
# The headless verdicts come from tests_scenarios in build/native, run here over the same files;
# each Wine run left its own in build/wine/ARCH/scenarios.txt (wine_suite.sh), and the wasm suite
# in build/wasm32/scenarios.txt (simhost/wasm/wasm_suite.sh).
# Usage: compare_scenarios.sh ARCH... -- <scenario file>...   (ARCH: x86_64, i686 or wasm32)
set -euo pipefail
cd "$(dirname "$0")/../.."
arches=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do arches+=("$1"); shift; done
[ $# -gt 1 ] && [ ${#arches[@]} -gt 0 ] || { echo "usage: compare_scenarios.sh ARCH... -- <scenario file>..."; exit 2; }
shift

# Scenario names as each place prints them: the file's stem, with what a test name cannot hold
# made an underscore.
name_of() { basename "$1" .scenario | sed 's/[^A-Za-z0-9]/_/g'; }

mkdir -p build/wine
cmake --preset native >/dev/null
cmake --build --preset native --target tests_scenarios >/dev/null
build/native/tests/tests_scenarios --gtest_filter='Samples/ScenarioFile.*' 2>&1 |
  sed -n 's#^\[       OK \] Samples/ScenarioFile\.[A-Za-z]*/\([A-Za-z0-9_]*\) .*#PASS \1#p
           s#^\[  FAILED  \] Samples/ScenarioFile\.[A-Za-z]*/\([A-Za-z0-9_]*\)[ ,].*#FAIL \1#p' |
  sort -u >build/wine/headless.txt || true

places=(headless "${arches[@]}")
results=(build/wine/headless.txt)
for arch in "${arches[@]}"; do
  case $arch in
    wasm32) results+=(build/wasm32/scenarios.txt) ;;
    *) results+=("build/wine/$arch/scenarios.txt") ;;
  esac
done

# The verdict of one scenario in one place's results: PASS, FAIL or "not run".
verdict() {
  local found
  found=$([ -f "$1" ] && sed -n "s/^\(PASS\|FAIL\) $2\(:.*\)\{0,1\}\$/\1/p" "$1" | sort -u | tr '\n' ' ')
  case $found in
    "PASS " | "FAIL ") echo "${found% }" ;;
    "") echo "not run" ;;
    *) echo "both" ;;
  esac
}

differ=0
for file in "$@"; do
  name=$(name_of "$file")
  line=()
  for index in "${!places[@]}"; do line+=("$(verdict "${results[index]}" "$name")"); done
  alike=$(printf '%s\n' "${line[@]}" | sort -u)
  if [ "$alike" != PASS ] && [ "$alike" != FAIL ]; then
    report=""
    for index in "${!places[@]}"; do report+="${report:+, }${places[index]} ${line[index]}"; done
    echo "DIFFER $name: $report"
    differ=$((differ + 1))
  fi
done
if [ $differ -gt 0 ]; then
  echo "scenarios: $differ of $# end differently in ${places[*]}"
  exit 1
fi
echo "scenarios: all $# end alike in ${places[*]}"
