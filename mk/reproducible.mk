# The same source makes the same bytes: the Windows modules, their symbols files and the
# package's files, built twice from two copies of the working tree in folders of different
# names, without ccache (tests/module/check_reproducible.sh).
.PHONY: test-reproducible
TEST_SUITES += test-reproducible

test-reproducible: packages-reproducible
	bash tests/module/check_reproducible.sh
