# Line and branch coverage of the extension (host/, framework/, spacing/) by the native suites:
# a --coverage build of its own in build/coverage, the counters cleared, ctest, then gcovr. The
# text summary goes to stdout and an HTML report to build/coverage/html/. Fewer than
# COVERAGE_MIN_LINES percent of lines covered fails the target. Not part of `make test`.
COVERAGE_DIR := build/coverage
COVERAGE_MIN_LINES ?= 95
# Throw branches are the compiler's unwinding edges, not decisions of the code; they would only
# make the branch figure noisier. The counters are looked for in the coverage build alone:
# build/ holds copies of the whole tree (the reproducibility check's), whose counters are not
# this build's.
COVERAGE_GCOVR := gcovr --root $(CURDIR) --object-directory $(COVERAGE_DIR) \
  --filter '$(CURDIR)/(host|framework|spacing)/' --exclude-throw-branches $(COVERAGE_DIR)

.PHONY: coverage

coverage: packages-coverage
	@set -euo pipefail; \
	cmake -S . -B $(COVERAGE_DIR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=--coverage >/dev/null; \
	cmake --build $(COVERAGE_DIR) -j2; \
	find $(COVERAGE_DIR) -name '*.gcda' -delete; \
	ctest --test-dir $(COVERAGE_DIR) --output-on-failure -j2; \
	rm -rf $(COVERAGE_DIR)/html; mkdir -p $(COVERAGE_DIR)/html; \
	$(COVERAGE_GCOVR) --json $(COVERAGE_DIR)/coverage.json; \
	from_json="gcovr --root $(CURDIR) --add-tracefile $(COVERAGE_DIR)/coverage.json"; \
	$$from_json --txt; \
	$$from_json --branches --txt; \
	$$from_json --html-details $(COVERAGE_DIR)/html/index.html --print-summary \
	  --fail-under-line $(COVERAGE_MIN_LINES) || { \
	    echo "coverage: below $(COVERAGE_MIN_LINES) % of lines (or gcovr failed); see $(COVERAGE_DIR)/html/index.html"; \
	    exit 1; }; \
	echo "coverage: at least $(COVERAGE_MIN_LINES) % of lines; report in $(COVERAGE_DIR)/html/index.html"
