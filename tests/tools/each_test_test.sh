#!/usr/bin/env bash
# tools/each_test.sh on a real test program and on a stand-in: a shard's tests, listed, are the
# ones GoogleTest runs in that shard; each test runs alone; a failing test is named and fails
# the run, and its output is shown.
# Usage: each_test_test.sh TEST_PROGRAM
set -uo pipefail

each_test=$(realpath "$(dirname "$0")/../../tools/each_test.sh")
program=${1:?usage: each_test_test.sh TEST_PROGRAM}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL $1"
  failures=$((failures + 1))
}

# 1. Dealt as GoogleTest deals: for every shard of three, the listed tests are those the program
#    itself runs in that shard.
for index in 0 1 2; do
  GTEST_TOTAL_SHARDS=3 GTEST_SHARD_INDEX=$index "$each_test" --list "$program" >"$work/listed"
  GTEST_TOTAL_SHARDS=3 GTEST_SHARD_INDEX=$index "$program" |
    sed -n 's/^\[ RUN      \] //p' >"$work/ran"
  [ -s "$work/ran" ] || fail "shard $index of 3 ran no tests"
  cmp -s "$work/listed" "$work/ran" ||
    fail "shard $index of 3: listed $(wc -l <"$work/listed") tests, the program ran $(wc -l <"$work/ran")"
done

# 2. A filter narrows the list, and the shards together hold every test once.
"$each_test" --list "$program" >"$work/all"
for index in 0 1 2; do
  GTEST_TOTAL_SHARDS=3 GTEST_SHARD_INDEX=$index "$each_test" --list "$program"
done | sort >"$work/dealt"
sort "$work/all" | cmp -s - "$work/dealt" || fail "the shards do not hold every test once"
first=$(head -n 1 "$work/all")
[ "$("$each_test" --list "$program" "--gtest_filter=$first")" = "$first" ] ||
  fail "a filter naming $first does not list it alone"

# 3. A stand-in program with three tests, one of which fails only when run alone: each test gets
#    a process of its own, the failure is named, its output shown, and the run fails.
cat >"$work/stand-in" <<'STANDIN'
#!/bin/sh
case "$*" in
  *--gtest_list_tests*) printf 'Rows/Walk.\n  Keeps/0  # GetParam() = 0\n  Leaks/1\nPlain.\n  Works\n' ;;
  *--gtest_filter=Rows/Walk.Leaks/1*) echo "LeakSanitizer: detected memory leaks"; exit 1 ;;
  *--gtest_filter=*) echo "ran $*" >>"$(dirname "$0")/calls" ;;
  *) exit 4 ;;
esac
STANDIN
chmod +x "$work/stand-in"
if output=$("$each_test" "$work/stand-in"); then
  fail "a run with a failing test succeeded"
fi
grep -q '^  failed: Rows/Walk.Leaks/1$' <<<"$output" || fail "the failing test is not named: $output"
grep -q 'LeakSanitizer' <<<"$output" || fail "the failing test's output is not shown"
grep -q '3 tests run one at a time, 1 failed' <<<"$output" || fail "the count is wrong: $output"
[ "$(wc -l <"$work/calls")" = 2 ] || fail "the passing tests did not run once each"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "each_test.sh: all checks passed"
