# The package users install: dist/QuorNoteSpacing-VERSION-win32.zip (the 32-bit module, the user's
# guide with its pictures, try.html beside it, SHA256SUMS) and the module's symbols beside it in
# dist/QuorNoteSpacing-VERSION-win32-symbols.zip, made by CPack from the install rules of
# cmake/package.cmake. Only the module and the page are built: the guide and its pictures are
# committed. The zips record the time of the last commit (SOURCE_DATE_EPOCH), not of the build.
# `make package` makes the zips alone; `make dist` also checks that two builds from nothing give
# the same bytes (mk/reproducible.mk), which only a release needs, so `make test` leaves it to
# `make dist`.
.PHONY: dist package

dist: package test-reproducible

package: packages-dist web
	cmake --preset mingw-i686 -DQUOR_TRY_PAGE=$(CURDIR)/$(WEB_PAGE)
	cmake --build --preset mingw-i686 --target QuorNoteSpacing
	rm -rf build/mingw-i686/package
	epoch=$$(git log -1 --format=%ct 2>/dev/null); \
	  cd build/mingw-i686 && env $${epoch:+SOURCE_DATE_EPOCH=$$epoch} cpack
	@mkdir -p dist
	cp build/mingw-i686/package/*.zip dist/
	bash tests/module/check_package.sh build/mingw-i686 dist
