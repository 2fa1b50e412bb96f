# The Windows suite: NOTAVO.EXE, the substitute host on the real USER32, under Wine for both
# Windows architectures (wine64, and 32-bit Wine through QEMU), on the Release builds of the
# presets; the 32-bit DLL is the one in the package, so the package is made first. The host's
# Win32 checks, every file in samples/scenarios, then a picture of the dialog
# (build/wine/ARCH/dialog.png) checked for its size and colours. The two architectures run side
# by side, each on its own virtual screen and in its own prefix, and each's output is shown
# whole when both have ended; both run even when one fails. Then each scenario's verdicts there
# are compared with the headless suite's. Within make test, that comparison waits for every place
# a scenario runs (SCENARIO_PLACES, which other suites add to, as mk/wasm.mk does), in
# test-scenario-places, so that the Wine suite need not wait for them.
WINE_ARCHES := x86_64 i686
WINE_SCENARIOS := $(sort $(wildcard samples/scenarios/*.scenario))

.PHONY: test-wine
TEST_SUITES += test-wine

test-wine: packages-wine package
	@mkdir -p build/wine; status=0; pids=(); \
	for arch in $(WINE_ARCHES); do \
	  bash simhost/win32/wine_suite.sh $$arch $(WINE_SCENARIOS) >build/wine/$$arch.log 2>&1 & \
	  pids+=($$!); \
	done; \
	for pid in "$${pids[@]}"; do wait $$pid || status=1; done; \
	for arch in $(WINE_ARCHES); do cat build/wine/$$arch.log; done; \
	$(if $(QUOR_ALL_SUITES),,bash simhost/win32/compare_scenarios.sh $(WINE_ARCHES) -- $(WINE_SCENARIOS) || status=1;) \
	exit $$status

# Every place a scenario runs, side by side: the headless host, both Wine architectures, and the
# places of SCENARIO_PLACES. Within make test it waits for the suites that leave the verdicts.
.PHONY: test-scenario-places
TEST_SUITES += test-scenario-places
ifdef QUOR_ALL_SUITES
test-scenario-places: test-wine test-native
endif
test-scenario-places:
	bash simhost/win32/compare_scenarios.sh $(WINE_ARCHES) $(SCENARIO_PLACES) -- $(WINE_SCENARIOS)
