# The wasm32 build (docs/wasm.md): the extension as a side module and the substitute host's
# programs for Node, built by emscripten (preset wasm32, configured through emcmake), with zlib,
# libzip, pugixml and GoogleTest built from Debian's sources into the user's cache. The wasm suite
# runs the scenario suite and notavo-sim under Node and compares what they end with and write
# with the native build's (simhost/wasm/wasm_suite.sh); within make test, the scenario
# comparison (mk/wine.mk) then shows the wasm32 verdicts beside the other three.
.PHONY: wasm test-wasm
TEST_SUITES += test-wasm

wasm: packages-wasm
	NODE_PATH=/usr/share/nodejs emcmake cmake --preset wasm32
	cmake --build --preset wasm32

test-wasm: wasm build
	bash simhost/wasm/wasm_suite.sh

ifdef QUOR_ALL_SUITES
test-scenario-places: test-wasm
SCENARIO_PLACES += wasm32
endif
