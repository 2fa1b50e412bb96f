# The benchmarks (bench/micro, Google Benchmark) and callgrind's instruction counts per run of
# each kind (bench/callgrind), from the release build with debug information in build/rel. Not
# part of `make test` or CI. BENCH_RUNS presses of each kind are counted under callgrind; only
# the press itself is collected, so instructions / BENCH_RUNS is the cost of one run.
BENCH_DIR := build/rel
BENCH_RUNS ?= 20
BENCH_KINDS := allotment-apply scaling-apply fixed-barlines allotment-default scaling-default
BENCH_FLAGS ?= --benchmark_min_time=0.5

.PHONY: bench bench-build bench-callgrind

bench-build: packages-bench
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BENCH_DIR) -j2 --target quor_bench quor_spacing_runs

bench: bench-build
	$(BENCH_DIR)/bench/quor_bench $(BENCH_FLAGS)
	@$(MAKE) --no-print-directory bench-callgrind

bench-callgrind: packages-bench
	@set -euo pipefail; mkdir -p $(BENCH_DIR)/callgrind; \
	printf '%-18s %8s %16s %18s %14s\n' kind runs instructions "instructions/run" "calls/run"; \
	for kind in $(BENCH_KINDS); do \
	  out=$(BENCH_DIR)/callgrind/$$kind.out; \
	  calls=$$(valgrind --tool=callgrind --callgrind-out-file=$$out --collect-atstart=no \
	    '--toggle-collect=*MeasuredPress*' \
	    $(BENCH_DIR)/bench/quor_spacing_runs $$kind $(BENCH_RUNS) 2>/dev/null | \
	    sed -n 's/.*runs, \([0-9]*\) service calls per run/\1/p'); \
	  total=$$(sed -n 's/^summary: *//p' $$out | cut -d' ' -f1); \
	  printf '%-18s %8d %16d %18d %14s\n' $$kind $(BENCH_RUNS) $$total $$((total / $(BENCH_RUNS))) $$calls; \
	done
