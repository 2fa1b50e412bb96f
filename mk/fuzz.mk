# The fuzz suite: builds the libFuzzer targets with clang in build/fuzz (the module's, and one per
# reader of a file a user hands notavo-sim: MusicXML, .mxl archives, document files, scenarios)
# and runs each for a bounded time, FUZZ_JOBS at a time, over a copy of its seeds, so that the
# repository is never written (tests/fuzz/run_fuzz.sh). Any crash, hang (-timeout), leak or
# sanitizer report fails it, and so does a run whose hosts never called back into the module; one
# line per target gives its runs, its rate and its corpus. Five targets at 25 s, two at a time,
# take about 90 s; `make test-fuzz FUZZ_SECONDS=600` runs each for ten minutes. Within
# `make test` they run one at a time, beside the other suites, which take the other core: two
# at a time there, they would halve each other's runs.
FUZZ_DIR := build/fuzz
FUZZ_SECONDS ?= 25
ifdef QUOR_ALL_SUITES
FUZZ_JOBS ?= 1
endif
FUZZ_JOBS ?= 2

.PHONY: test-fuzz
TEST_SUITES += test-fuzz

test-fuzz: packages-fuzz
	@set -euo pipefail; \
	find_clang() { \
	  cxx=$$(command -v clang++-14 || command -v clang++ || true); \
	  cc=$$(command -v clang-14 || command -v clang || true); \
	  [ -n "$$cxx" ] && [ -n "$$cc" ] && \
	    [ -e "$$($$cxx -print-resource-dir)/lib/linux/libclang_rt.fuzzer-x86_64.a" ]; \
	}; \
	find_clang || { echo "cannot run the fuzz suite: clang has no libFuzzer runtime"; exit 1; }; \
	CC=$$cc CXX=$$cxx cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOR_FUZZ=ON; \
	cmake --build $(FUZZ_DIR) -j2 --target quor_fuzz_all; \
	bash tests/fuzz/run_fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_JOBS)
