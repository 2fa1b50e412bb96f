# The scenarios on NOTAVO.EXE, the substitute host on the real USER32, under wine64: every file
# in samples/scenarios, then a picture of the dialog (build/wine/dialog.png) checked for its
# size and colours. Installs Wine and the rest when root and they are missing.
.PHONY: test-wine

test: test-wine

test-wine:
	bash simhost/win32/wine_suite.sh $(sort $(wildcard samples/scenarios/*.scenario))
