# The fuzz suite: builds the libFuzzer target with clang in build/fuzz and runs it for a bounded
# time over a copy of the seed corpus, so that the repository is never written. Any crash, hang
# (-timeout) or sanitizer report fails it, and so does a run whose hosts never called back into
# the module; the last line says how many runs it made per second and how many calls came back.
FUZZ_DIR := build/fuzz
FUZZ_SECONDS ?= 60
FUZZ_FLAGS := -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1

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
	cmake --build $(FUZZ_DIR) -j2 --target quor_fuzz; \
	rm -rf $(FUZZ_DIR)/corpus $(FUZZ_DIR)/artifacts; \
	cp -r tests/fuzz/corpus $(FUZZ_DIR)/corpus; \
	mkdir -p $(FUZZ_DIR)/artifacts; \
	status=0; \
	$(FUZZ_DIR)/tests/fuzz/quor_fuzz $(FUZZ_FLAGS) -artifact_prefix=$(FUZZ_DIR)/artifacts/ \
	  $(FUZZ_DIR)/corpus > $(FUZZ_DIR)/fuzz.log 2>&1 || status=$$?; \
	tail -n 40 $(FUZZ_DIR)/fuzz.log; \
	if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' $(FUZZ_DIR)/fuzz.log; then \
	  status=1; \
	fi; \
	runs=$$(sed -n 's/^stat::number_of_executed_units: *//p' $(FUZZ_DIR)/fuzz.log | tail -n 1); \
	rate=$$(sed -n 's/^stat::average_exec_per_sec: *//p' $(FUZZ_DIR)/fuzz.log | tail -n 1); \
	reentrant=$$(sed -n 's/^fuzz: \([0-9]*\) re-entrant calls$$/\1/p' $(FUZZ_DIR)/fuzz.log | tail -n 1); \
	if [ $$status -ne 0 ]; then \
	  echo "fuzz: failed (exit $$status); the input that failed is in $(FUZZ_DIR)/artifacts/"; \
	  exit 1; \
	fi; \
	if [ "$${reentrant:-0}" -eq 0 ]; then \
	  echo "fuzz: failed: the hosts never called back into the module"; \
	  exit 1; \
	fi; \
	echo "fuzz: $${runs:-0} runs in $(FUZZ_SECONDS) s, $${rate:-0} exec/s, $$reentrant re-entrant calls"
