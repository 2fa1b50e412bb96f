#!/usr/bin/env bash
# Runs a test program's tests one at a time, each in a process of its own, and names those that
# fail. A sharded run reports a leak once, at exit, for the whole shard; this finds the test.
# Usage: each_test.sh [--list] PROGRAM [--gtest_filter=PATTERN]
#   --list      print the tests that would run, one per line, and run nothing
#   With GTEST_TOTAL_SHARDS and GTEST_SHARD_INDEX set (as ctest sets them for a shard), only
#   that shard's tests run, dealt out as GoogleTest deals them.
# Example: GTEST_TOTAL_SHARDS=3 GTEST_SHARD_INDEX=1 tools/each_test.sh build/sanitize/tests/tests_hostile
set -uo pipefail

list_only=0
if [ "${1:-}" = --list ]; then
  list_only=1
  shift
fi
program=${1:?usage: each_test.sh [--list] PROGRAM [--gtest_filter=PATTERN]}
shift
[ -x "$program" ] || { echo "each_test: $program is not a program"; exit 2; }
total=${GTEST_TOTAL_SHARDS:-1}
index=${GTEST_SHARD_INDEX:-0}

# The program's own listing, with the filter applied: "Suite." lines, then indented test names
# followed by a comment with the parameter.
listing=$(env -u GTEST_TOTAL_SHARDS -u GTEST_SHARD_INDEX "$program" --gtest_list_tests "$@") || {
  echo "each_test: $program could not list its tests"
  exit 2
}
tests=()
position=0
while IFS= read -r line; do
  if [[ $line != " "* ]]; then
    suite=${line%%#*}
    suite=${suite%% *}
    continue
  fi
  name=${line#  }
  name=${name%%#*}
  name=${name%% *}
  # GoogleTest gives each test matching the filter a number and runs it on shard number % total.
  if [ $((position % total)) -eq "$index" ]; then
    tests+=("$suite$name")
  fi
  position=$((position + 1))
done <<<"$listing"

if [ "$list_only" = 1 ]; then
  printf '%s\n' "${tests[@]}"
  exit 0
fi

failed=()
for test in "${tests[@]}"; do
  if ! output=$(env -u GTEST_TOTAL_SHARDS -u GTEST_SHARD_INDEX "$program" --gtest_brief=1 \
                  "--gtest_filter=$test" 2>&1); then
    failed+=("$test")
    printf '%s\n' "$output"
  fi
done
echo "each_test: ${#tests[@]} tests run one at a time, ${#failed[@]} failed"
for test in "${failed[@]}"; do
  echo "  failed: $test"
done
[ ${#failed[@]} -eq 0 ]
