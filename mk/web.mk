# The page that tries a task on a user's own score in a browser (docs/try-page.md): try.html,
# made by the wasm32 build from notavo-sim built for the browser and the extension's side module,
# and copied to build/web/.
.PHONY: web

web: wasm
	@mkdir -p build/web
	cp build/wasm32/web/try.html build/web/try.html
	@echo "wrote build/web/try.html ($$(stat -c %s build/web/try.html) bytes)"
