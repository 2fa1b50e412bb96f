# The page that tries a task on a user's own score in a browser (docs/try-page.md): try.html,
# made by the wasm32 build from notavo-sim built for the browser and the extension's side module,
# and copied to build/web/. Its suite opens it in headless chromium and holds what it draws and
# saves to the native notavo-sim's bytes (web/web_suite.sh).
.PHONY: web test-web bench-web
TEST_SUITES += test-web
# Where `make web` leaves the page, for its suite, its bench and the package (mk/dist.mk).
WEB_PAGE := build/web/try.html

web: wasm
	@mkdir -p $(dir $(WEB_PAGE))
	cp build/wasm32/web/try.html $(WEB_PAGE)
	@echo "wrote $(WEB_PAGE) ($$(stat -c %s $(WEB_PAGE)) bytes)"

test-web: packages-web web build
	@bash tools/npm/modules.sh install
	bash web/web_suite.sh

# How fast the page draws all nine tasks against the native command (bench/web/page_speed.mjs):
# the largest test score, its measures repeated 50 times. Not part of make test.
WEB_BENCH_SCORE ?= tests/app/scores/prelude_in_c.musicxml
bench-web: packages-web web build
	@bash tools/npm/modules.sh install
	bash tools/npm/modules.sh run node bench/web/page_speed.mjs $(WEB_PAGE) \
	  build/native/simhost/app/notavo-sim $(WEB_BENCH_SCORE) build/web/bench
