#!/usr/bin/env bash
# The cost of drawing: `--compare-all` of the largest test score played 50 times over, by two
# builds of notavo-sim one after the other in one run, each timed by /usr/bin/time -v (wall
# time and maximum resident size), best of RUNS (default 3).
#
#   bash bench/pictures/compare_cost.sh BASELINE_NOTAVO_SIM NOTAVO_SIM [RUNS]
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: compare_cost.sh BASELINE_NOTAVO_SIM NOTAVO_SIM [RUNS]" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
runs=${3:-3}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
score=$scratch/prelude_in_c_x50.musicxml
python3 "$here/repeated_score.py" "$source_dir/tests/app/scores/prelude_in_c.musicxml" 50 "$score"

# Prints "SECONDS KILOBYTES", the best time and the largest resident size over the runs.
measure() {
  local best_time="" most_memory=0
  for _ in $(seq "$runs"); do
    /usr/bin/time -v "$1" --document "$score" --compare-all "$scratch/picture.svg" \
      >/dev/null 2>"$scratch/time.txt"
    local elapsed memory
    elapsed=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$scratch/time.txt" |
      awk -F: '{ print ($1 * 60) + $2 }')
    memory=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$scratch/time.txt")
    if [ -z "$best_time" ] || awk "BEGIN { exit !($elapsed < $best_time) }"; then
      best_time=$elapsed
    fi
    [ "$memory" -gt "$most_memory" ] && most_memory=$memory
  done
  echo "$best_time $most_memory"
}

read -r base_time base_memory < <(measure "$1")
read -r new_time new_memory < <(measure "$2")
echo "score: prelude_in_c.musicxml x 50 ($(grep -c '<measure ' "$score") measures), --compare-all, best of $runs"
echo "baseline: ${base_time} s, ${base_memory} KB"
echo "this:     ${new_time} s, ${new_memory} KB"
awk -v bt="$base_time" -v nt="$new_time" -v bm="$base_memory" -v nm="$new_memory" \
  'BEGIN { printf "ratio: time %.2fx, memory %+.1f %%\n", nt / bt, (nm - bm) * 100 / bm }'
