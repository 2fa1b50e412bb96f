# The same source makes the same bytes: the Windows modules, their symbols files, try.html and
# the package's files, built twice from two copies of the working tree in folders of different
# names, without ccache (tests/module/check_reproducible.sh). It runs in `make dist` and in CI, not
# in `make test`: its two builds from nothing take longer than the rest of the loop.
.PHONY: test-reproducible

test-reproducible: packages-reproducible packages-wasm
	bash tests/module/check_reproducible.sh
