# The long run (bench/longrun): 10,000 runs from the dialog in one host process, then every one
# undone; it fails when the document is not byte for byte what it was or the heap grew. Not
# part of `make test` or CI: it takes minutes.
LONGRUN_DIR := build/rel
LONGRUN_RUNS ?= 10000

.PHONY: longrun

longrun: packages-native
	cmake -S . -B $(LONGRUN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(LONGRUN_DIR) -j2 --target quor_long_run
	time $(LONGRUN_DIR)/bench/quor_long_run $(LONGRUN_RUNS)
