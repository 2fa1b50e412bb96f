# The Windows suite: NOTAVO.EXE, the substitute host on the real USER32, under Wine for both
# Windows architectures (wine64, and 32-bit Wine through QEMU), on the Release builds of the
# presets; the 32-bit DLL is the one in the package, so the package is made first. The host's
# Win32 checks, every file in samples/scenarios, then a picture of the dialog
# (build/wine/ARCH/dialog.png) checked for its size and colours. Then each scenario's verdicts
# there are compared with the headless suite's, and with those of SCENARIO_PLACES when other
# suites add theirs (mk/wasm.mk). Both architectures run even when the first fails, so that the
# comparison sees both.
WINE_ARCHES := x86_64 i686
WINE_SCENARIOS := $(sort $(wildcard samples/scenarios/*.scenario))

.PHONY: test-wine
TEST_SUITES += test-wine

test-wine: packages-wine package
	@status=0; \
	for arch in $(WINE_ARCHES); do \
	  bash simhost/win32/wine_suite.sh $$arch $(WINE_SCENARIOS) || status=1; \
	done; \
	bash simhost/win32/compare_scenarios.sh $(WINE_ARCHES) $(SCENARIO_PLACES) -- $(WINE_SCENARIOS) || status=1; \
	exit $$status
