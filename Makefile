# Front door of the build. `make test` builds and runs every suite; `make demo` runs the main job.
SHELL := /bin/bash
PRESETS_WINDOWS := mingw-i686 mingw-x86_64

.PHONY: all build test test-native test-sanitize test-windows demo format tidy clean

all: build

# What a target needs from Debian's archive is a group of tools/install_packages.sh: as root it
# installs what is missing, otherwise it says in one line which command to run. `packages-GROUP`
# checks one group.
INSTALL_PACKAGES := bash tools/install_packages.sh
packages-%:
	@$(INSTALL_PACKAGES) $*

# The suites of `make test`, each also a group of the install script; mk/ files add theirs.
TEST_SUITES := test-native test-sanitize test-windows

# Further suites and tools add their own targets (and their suites to TEST_SUITES) in mk/.
-include $(sort $(wildcard mk/*.mk))

# Within make test, a suite that builds in a folder another suite builds in waits for it: the
# package is made from the 32-bit preset the Windows suite builds.
ifdef QUOR_ALL_SUITES
package: test-windows
endif

build: packages-native
	cmake --preset native
	cmake --build --preset native

# Every suite's packages are checked first and at once, so that a user who is not root reads one
# command that installs them all. Then the suites run TEST_JOBS at a time (each suite's output
# shows when it ends): most of them leave a core idle for part of their time, waiting on a
# link, a test, Wine or a browser. On two cores, three at a time keeps both busy, with the
# fuzzers, which run for their time whatever the load, one after another in one of the three
# (mk/fuzz.mk). A suite that fails does not stop the others; those that wait for it do not run.
TEST_JOBS ?= 3
test: packages-test
	@$(MAKE) --no-print-directory -j$(TEST_JOBS) --keep-going --output-sync=target \
	  QUOR_ALL_SUITES=1 $(TEST_SUITES)
	@echo "All suites ran: $(TEST_SUITES)."

packages-test:
	@$(INSTALL_PACKAGES) $(TEST_SUITES:test-%=%)

test-native: build
	ctest --preset native

test-sanitize: packages-sanitize
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize

# The Windows DLLs are cross-built and checked statically.
test-windows: packages-windows
	@set -e; for preset in $(PRESETS_WINDOWS); do \
	  cmake --preset $$preset; \
	  cmake --build --preset $$preset; \
	  ctest --preset $$preset; \
	done

# A sample score through the dialog: "Loose Allotment" on measures 1 to 3 with Fixed Barlines.
# Only the command and the module it loads are built.
demo: packages-demo
	cmake --preset native
	cmake --build --preset native --target notavo-sim
	@mkdir -p build/demo
	./build/native/simhost/app/notavo-sim --document samples/scores/rhythm_study.ntv \
	  --task "Loose Allotment" --measures 1-3 --fixed-barlines \
	  --svg build/demo/before_after.svg

format: packages-style
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

tidy: build packages-style
	git ls-files 'host/*.cpp' 'framework/*.cpp' 'spacing/*.cpp' | \
	  xargs clang-tidy --quiet -p build/native

clean:
	rm -rf build
