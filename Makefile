# Front door of the build. `make test` builds and runs every suite; `make demo` runs the main job.
SHELL := /bin/bash
PRESETS_WINDOWS := mingw-i686 mingw-x86_64

.PHONY: all build test test-native test-sanitize test-windows demo format tidy clean

all: build

# Further suites and tools add their own targets (and prerequisites of `test`) in mk/.
-include $(sort $(wildcard mk/*.mk))

build:
	cmake --preset native
	cmake --build --preset native

test: test-native test-sanitize test-windows
	@echo "All suites ran: $(filter test-%,$^)."

test-native: build
	ctest --preset native

test-sanitize:
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize

# The Windows DLLs are cross-built and checked statically. A missing cross compiler fails the
# run: it never skips quietly.
test-windows:
	@for prefix in i686-w64-mingw32 x86_64-w64-mingw32; do \
	  command -v $$prefix-g++ >/dev/null || { \
	    echo "cannot run the Windows suites: $$prefix-g++ is missing (apt-get install mingw-w64)"; \
	    exit 1; }; \
	done
	@set -e; for preset in $(PRESETS_WINDOWS); do \
	  cmake --preset $$preset; \
	  cmake --build --preset $$preset; \
	  ctest --preset $$preset; \
	done

# A sample score through the dialog: "Loose Allotment" on measures 1 to 3 with Fixed Barlines.
demo: build
	@mkdir -p build/demo
	./build/native/simhost/app/notavo-sim --document samples/scores/rhythm_study.ntv \
	  --task "Loose Allotment" --measures 1-3 --fixed-barlines \
	  --svg build/demo/before_after.svg

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

tidy: build
	git ls-files 'host/*.cpp' 'framework/*.cpp' 'spacing/*.cpp' | \
	  xargs clang-tidy --quiet -p build/native

clean:
	rm -rf build
