#!/usr/bin/env bash
# The wasm suite: the wasm32 build under Node ends and writes as the native build does.
#  1. The side module exports the seven entry points.
#  2. The scenario suite (tests/scenarios, every scenario file among its cases) gives each case
#     the verdict the native suite gives it. The scenario files' verdicts are left in
#     build/wasm32/scenarios.txt, one PASS or FAIL line a file, for compare_scenarios.sh.
#  3. notavo-sim, on every sample and test score, prints the same lines and writes the same
#     bytes (--svg, --compare-all, --save); on compressed scores, read and refused, the same.
# Both builds must be there: `make test-wasm` builds them first.
# Usage: wasm_suite.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
native=$root/build/native
wasm=$root/build/wasm32
out=$wasm/suite
say() { echo "wasm suite: $*"; }
cannot() {
  say "cannot run: $*"
  exit 1
}

command -v node >/dev/null || cannot "node is missing; bash tools/install_packages.sh wasm installs it"
for file in "$wasm/QuorNoteSpacing.nxt" "$wasm/tests/tests_scenarios.js" \
  "$wasm/simhost/app/notavo-sim.js" "$native/tests/tests_scenarios" "$native/simhost/app/notavo-sim"; do
  [ -f "$file" ] || cannot "${file#"$root"/} is missing; make test-wasm builds it"
done
rm -rf "$out"
mkdir -p "$out"
started=$SECONDS
status=0

# 1. The entry points among the side module's exports. (emscripten 3.1.6's side modules export
# every symbol they define, hidden ones too, where the native module exports only the seven.)
exports=$(node -e '
  const compiled = new WebAssembly.Module(require("fs").readFileSync(process.argv[1]));
  for (const entry of WebAssembly.Module.exports(compiled)) console.log(entry.name);' \
  "$wasm/QuorNoteSpacing.nxt" | sort)
wanted=$(sed -n 's/^ *\(NotavoExtension[A-Za-z0-9_]*\)$/\1/p' resources/QuorNoteSpacing.def | sort)
missing=$(comm -13 <(echo "$exports") <(echo "$wanted") | tr '\n' ' ')
if [ -z "$missing" ] && [ "$(wc -l <<<"$wanted")" -eq 7 ]; then
  say "PASS the module exports the seven entry points (of $(wc -l <<<"$exports") exports)"
else
  say "FAIL the module does not export: ${missing:-the seven entry points of resources/QuorNoteSpacing.def}"
  status=1
fi

# 2. Every case of the scenario suite, natively and under Node.
verdicts() {
  sed -n 's/^\[       OK \] \([^ ]*\) .*/PASS \1/p; s/^\[  FAILED  \] \([^ ,]*\).*/FAIL \1/p' "$1" | sort -u
}
"$native/tests/tests_scenarios" >"$out/native_scenarios.log" 2>&1 || true
(cd "$root" && node "$wasm/tests/tests_scenarios.js") >"$out/wasm32_scenarios.log" 2>&1 || true
verdicts "$out/native_scenarios.log" >"$out/native_scenarios.txt"
verdicts "$out/wasm32_scenarios.log" >"$out/wasm32_scenarios.txt"
cases=$(wc -l <"$out/native_scenarios.txt")
if [ "$cases" -eq 0 ]; then
  say "FAIL the native scenario suite ran no case; see ${out#"$root"/}/native_scenarios.log"
  status=1
elif ! diff "$out/native_scenarios.txt" "$out/wasm32_scenarios.txt" >"$out/scenarios.diff"; then
  say "FAIL the scenario suite ends differently under Node (< native, > wasm32):"
  sed -n 's/^\([<>]\)/  \1/p' "$out/scenarios.diff"
  status=1
else
  say "PASS the scenario suite: all $cases cases end alike natively and under Node" \
    "($(grep -c '^PASS' "$out/wasm32_scenarios.txt") pass, $(grep -c '^FAIL' "$out/wasm32_scenarios.txt") fail)"
fi
sed -n 's#^\(PASS\|FAIL\) Samples/ScenarioFile\.[A-Za-z]*/\([A-Za-z0-9_]*\)$#\1 \2#p' \
  "$out/wasm32_scenarios.txt" >"$wasm/scenarios.txt"

# 3. notavo-sim on each score, once per build, each in a folder of its own so that the lines
# naming the files it wrote are the same; then every line, status and byte compared.
run_sim() {
  local build=$1 name=$2 input=$3
  shift 3
  local folder=$out/$build/$name
  mkdir -p "$folder"
  local command=("$native/simhost/app/notavo-sim")
  [ "$build" = native ] || command=(node "$wasm/simhost/app/notavo-sim.js")
  set +e
  (cd "$folder" && umask 022 && "${command[@]}" --document "$input" "$@" >stdout.txt 2>stderr.txt)
  echo "$?" >"$folder/status.txt"
  set -e
  # The files' modes too: each build gives a new file the mode the umask gives it.
  (cd "$folder" && stat -c '%n %a' -- *.svg *.ntv 2>/dev/null) >"$folder/modes.txt" || true
}
compare_sim() {
  local name=$1 input=$2
  shift 2
  run_sim native "$name" "$input" "$@"
  run_sim wasm32 "$name" "$input" "$@"
  local file differ=()
  for file in $(cd "$out/native/$name" && ls); do
    cmp -s "$out/native/$name/$file" "$out/wasm32/$name/$file" || differ+=("$file")
  done
  for file in $(cd "$out/wasm32/$name" && ls); do
    [ -e "$out/native/$name/$file" ] || differ+=("$file (only under Node)")
  done
  local what
  what="$(ls "$out/native/$name" | tr '\n' ' ')exit $(cat "$out/native/$name/status.txt")"
  if [ ${#differ[@]} -eq 0 ]; then
    say "PASS notavo-sim $name: the same bytes: $what"
  else
    say "FAIL notavo-sim $name differs under Node in: ${differ[*]} (see ${out#"$root"/}/{native,wasm32}/$name)"
    status=1
  fi
}
for score in samples/scores/* tests/app/scores/*; do
  compare_sim "$(basename "$score")" "$root/$score" --task "Loose Allotment" --fixed-barlines \
    --svg before_after.svg --compare-all compare_all.svg --save saved.ntv
done

# Compressed scores: one that is read (through libzip and zlib), and the entries a score's
# archive never needs, which are refused alike whatever the library could decode.
python3 simhost/wasm/make_archives.py samples/scores/two_parts.musicxml "$out/archives"
for archive in "$out"/archives/*.mxl; do
  compare_sim "$(basename "$archive")" "$archive" --task "Tight Scaling" --svg before_after.svg
done

say "$([ $status -eq 0 ] && echo passed || echo FAILED) in $((SECONDS - started)) s"
exit $status
