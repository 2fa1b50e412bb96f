#!/usr/bin/env bash
# Runs the fuzz targets built in BUILD for SECONDS each, JOBS of them at a time, each over a copy
# of its seeds (the repository is never written) with its dictionary. Any crash, hang (-timeout),
# leak or sanitizer report fails a target, and so does a module run whose hosts never called back
# into the module. One line per target gives its runs, its rate and its corpus; the inputs that
# failed are kept in BUILD/artifacts/TARGET/.
# Usage: run_fuzz.sh BUILD SECONDS JOBS
set -euo pipefail
build=$1
seconds=$2
jobs=$3
here=$(cd "$(dirname "$0")" && pwd)
binaries=$build/tests/fuzz
inputs=$binaries/inputs

# Target, its seeds and its dictionary (none for the module, whose inputs are host scripts).
targets=(
  "quor_fuzz $here/corpus -"
  "musicxml_fuzz $inputs/musicxml $inputs/musicxml.dict"
  "mxl_fuzz $inputs/mxl $inputs/mxl.dict"
  "document_fuzz $inputs/document $inputs/document.dict"
  "scenario_fuzz $inputs/scenario $inputs/scenario.dict"
)

rm -rf "$build/corpus" "$build/artifacts" "$build"/*_fuzz.log "$build"/*_fuzz.status
mkdir -p "$build/corpus" "$build/artifacts"

run() {
  local name=$1 seeds=$2 dictionary=$3
  cp -r "$seeds" "$build/corpus/$name"
  mkdir -p "$build/artifacts/$name"
  local flags=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
               -artifact_prefix="$build/artifacts/$name/")
  [ "$dictionary" = - ] || flags+=(-dict="$dictionary")
  local status=0
  "$binaries/$name" "${flags[@]}" "$build/corpus/$name" > "$build/$name.log" 2>&1 || status=$?
  echo "$status" > "$build/$name.status"
}

for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  # shellcheck disable=SC2086
  run $target &
done
wait

failed=0
for target in "${targets[@]}"; do
  read -r name _ _ <<< "$target"
  log=$build/$name.log
  status=$(cat "$build/$name.status")
  if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|^fuzz: [^0-9]' \
      "$log" && [ "$status" -eq 0 ]; then
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  corpus=$(find "$build/corpus/$name" -type f | wc -l)
  line="fuzz: $name: ${runs:-0} runs in $seconds s, ${rate:-0} exec/s, corpus $corpus inputs"
  if [ "$name" = quor_fuzz ]; then
    reentrant=$(sed -n 's/^fuzz: \([0-9]*\) re-entrant calls$/\1/p' "$log" | tail -n 1)
    line+=", ${reentrant:-0} re-entrant calls"
    if [ "$status" -eq 0 ] && [ "${reentrant:-0}" -eq 0 ]; then
      line+=": failed: the hosts never called back into the module"
      status=1
    fi
  fi
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log"
    line+=" - failed (exit $status); the input that failed is in $build/artifacts/$name/"
    failed=1
  fi
  echo "$line"
done
exit "$failed"
