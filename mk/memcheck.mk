# Valgrind memcheck over the scenario suite (the module loaded from disk, as the host loads it)
# and the quick cases of the hostile-host suite, from a release build with debug information of
# its own in build/rel. Any memcheck error fails it, and so does any byte definitely,
# indirectly or possibly lost; memory still reachable at exit belongs to the C++ runtime and the
# test framework, not to a leak. Each program's error and leak figures are printed.
MEMCHECK_DIR := build/rel
MEMCHECK_LOGS := $(MEMCHECK_DIR)/memcheck
MEMCHECK_FLAGS := --error-exitcode=1 --leak-check=full --show-leak-kinds=definite,indirect,possible \
  --errors-for-leak-kinds=definite,indirect,possible --track-origins=yes --num-callers=30
# The hostile cases whose loads are claimed without data, and the walk of the largest document,
# take a second natively and minutes here; the sanitizer suite covers them.
MEMCHECK_HOSTILE_FILTER ?= -*LoadsClaimedWithoutData:*EverRisingKeys*

.PHONY: memcheck memcheck-build

memcheck-build: packages-memcheck
	cmake -S . -B $(MEMCHECK_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(MEMCHECK_DIR) -j2 --target QuorNoteSpacing tests_scenarios tests_hostile

memcheck: memcheck-build
	@set -uo pipefail; mkdir -p $(MEMCHECK_LOGS); status=0; \
	run() { \
	  name=$$1; shift; log=$(MEMCHECK_LOGS)/$$name.log; \
	  valgrind $(MEMCHECK_FLAGS) --log-file=$$log "$$@" > $(MEMCHECK_LOGS)/$$name.out 2>&1; \
	  code=$$?; \
	  tests=$$(grep -E '^\[  PASSED  \]|^\[  FAILED  \]' $(MEMCHECK_LOGS)/$$name.out | tr '\n' ' '); \
	  echo "memcheck $$name: $$tests"; \
	  grep -E 'ERROR SUMMARY' $$log | sed 's/^==[0-9]*== */  /'; \
	  if grep -q 'All heap blocks were freed' $$log; then \
	    echo "  definitely lost: 0 bytes, indirectly lost: 0 bytes, possibly lost: 0 bytes (all heap blocks were freed)"; \
	  else \
	    grep -E 'definitely lost|indirectly lost|possibly lost|still reachable' $$log | sed 's/^==[0-9]*== */  /'; \
	  fi; \
	  lost=$$(grep -E '(definitely|indirectly|possibly) lost: [1-9]' $$log || true); \
	  if [ $$code -ne 0 ] || [ -n "$$lost" ]; then \
	    echo "memcheck $$name: FAILED (exit $$code); see $$log"; status=1; \
	  fi; \
	}; \
	run scenarios $(MEMCHECK_DIR)/tests/tests_scenarios; \
	run hostile $(MEMCHECK_DIR)/tests/tests_hostile --gtest_filter='$(MEMCHECK_HOSTILE_FILTER)'; \
	if [ $$status -ne 0 ]; then echo "memcheck: failed"; exit 1; fi; \
	echo "memcheck: no errors, no bytes lost"
