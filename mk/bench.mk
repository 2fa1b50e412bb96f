# The benchmarks (bench/micro, Google Benchmark) and, for each kind of run, the figures of
# bench/callgrind: from the release build with debug information in build/rel. Not part of
# `make test` or CI.
#
# Per kind: BENCH_RUNS presses counted under callgrind, only the press itself collected, and
# BENCH_TIMED presses timed natively, all with the service journal off. "run" is the median
# press. "own/call" is the instructions of the extension's own functions (the module's object
# alone; the host's services and the C++ runtime's shared library are not in it) per host
# service call. "x fewest" is the run's calls over the fewest the store allows
# (bench/support/call_floor.h); "x lookups" the median press over the median time of the same
# record lookups made bare in the same store; "host x" the host's own load service, given the
# run's loads directly, over their bare lookups.
BENCH_DIR := build/rel
BENCH_RUNS ?= 20
BENCH_TIMED ?= 200
BENCH_KINDS := allotment-apply scaling-apply fixed-barlines allotment-default scaling-default
BENCH_FLAGS ?= --benchmark_min_time=0.5
BENCH_MODULE := QuorNoteSpacing.nxt

.PHONY: bench bench-build bench-callgrind

bench-build: packages-bench
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BENCH_DIR) -j2 --target quor_bench quor_spacing_runs

bench: bench-build
	$(BENCH_DIR)/bench/quor_bench $(BENCH_FLAGS)
	@$(MAKE) --no-print-directory bench-callgrind

bench-callgrind: packages-bench
	@set -euo pipefail; mkdir -p $(BENCH_DIR)/callgrind; \
	printf '%-18s %10s %10s %8s %16s %10s %10s %10s %8s\n' kind "run (us)" calls/run fewest \
	  instructions/run own/call "x fewest" "x lookups" "host x"; \
	for kind in $(BENCH_KINDS); do \
	  out=$(BENCH_DIR)/callgrind/$$kind.out; \
	  head=$$(valgrind --tool=callgrind --callgrind-out-file=$$out --collect-atstart=no \
	    '--toggle-collect=*MeasuredPress*' \
	    $(BENCH_DIR)/bench/quor_spacing_runs $$kind $(BENCH_RUNS) 2>/dev/null | head -1); \
	  calls=$$(echo "$$head" | sed -n 's/.*runs, \([0-9]*\) service calls per run.*/\1/p'); \
	  fewest=$$(echo "$$head" | sed -n 's/.*, fewest \([0-9]*\)$$/\1/p'); \
	  total=$$(sed -n 's/^summary: *//p' $$out | cut -d' ' -f1); \
	  own=$$(awk -v object=$(BENCH_MODULE) -f bench/callgrind/own_instructions.awk $$out); \
	  floor=$$($(BENCH_DIR)/bench/quor_spacing_runs $$kind $(BENCH_TIMED) --floor); \
	  timed=$$(echo "$$floor" | sed -n 2p); \
	  host=$$(echo "$$floor" | sed -n 's/.*over their lookups \([0-9.]*\)$$/\1/p'); \
	  run=$$(echo "$$timed" | sed -n 's/^run \([0-9]*\) ns.*/\1/p'); \
	  lookups=$$(echo "$$timed" | sed -n 's/.*ratio \([0-9.]*\)$$/\1/p'); \
	  awk -v kind=$$kind -v run=$$run -v calls=$$calls -v fewest=$$fewest -v total=$$total \
	    -v own=$$own -v runs=$(BENCH_RUNS) -v lookups=$$lookups -v host=$$host 'BEGIN { \
	    printf "%-18s %10.1f %10d %8d %16d %10.1f %10.1f %10.2f %8.2f\n", kind, run / 1000, \
	      calls, fewest, total / runs, own / (runs * calls), calls / fewest, lookups, host }'; \
	done
