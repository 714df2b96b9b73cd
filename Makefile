# Two commands set everything up on a fresh Debian machine:
#   make play   installs what building and playing need, builds, and starts
#               the game
#   make test   installs that and the test tools, builds, and runs every test
#               headless, plain and under the sanitizers
# Besides them:
#   make        builds the game alone in $(BUILD)/, installing nothing
#   make check  the plain build's own tests, quickly: no browser, Wine,
#               second build or sanitizers (make test runs those too)
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all game check deps deps-test build play test clean web web-serve windows

all: game

game:
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_TESTS=OFF >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target vantrel

# Its own build directory, so that it never undoes what make test set up
# in $(BUILD)/ (the other builds' tests are configured there).
CHECK_BUILD ?= build-check
check: deps-check
	@cmake -S . -B $(CHECK_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_TESTS=ON >/dev/null
	@cmake --build $(CHECK_BUILD) -j $(JOBS)
	cd $(CHECK_BUILD) && ctest --output-on-failure -j $(JOBS)

.PHONY: deps-check
deps-check:
	@sh tools/install-deps.sh test

deps:
	@sh tools/install-deps.sh

deps-test:
	@sh tools/install-deps.sh test web windows

# The game alone, without its tests (a player needs no test harness);
# ARGS are handed to it, e.g. make play ARGS=--window.
play: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_TESTS=OFF >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	./$(BUILD)/vantrel $(ARGS)

build: deps-test other-build web windows
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_TESTS=ON \
		-DVANTREL_OTHER_GAME=$(abspath $(OTHER_BUILD))/vantrel -DVANTREL_WEB_SITE=$(abspath $(WEB_BUILD))/site \
		-DVANTREL_WINDOWS_TEST=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# A second build of the game alone, by another compiler with other code
# generation: clang, for the newest x86-64 level (AVX2, FMA) where this
# machine has it. The suite replays demos recorded by the first build on it,
# which must end on the same line.
OTHER_BUILD ?= build-other
X86_64_V3 := avx avx2 bmi1 bmi2 f16c fma abm movbe xsave
OTHER_FLAGS ?= $(shell for f in $(X86_64_V3); do grep -qw $$f /proc/cpuinfo 2>/dev/null || exit 0; done; \
	echo -march=x86-64-v3)

.PHONY: other-build
other-build: deps-test
	@CXX=clang++ cmake -S . -B $(OTHER_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_TESTS=OFF \
		-DCMAKE_CXX_FLAGS="$(OTHER_FLAGS)" >/dev/null
	@cmake --build $(OTHER_BUILD) -j $(JOBS) --target vantrel

# The game for the browser, in $(WEB_BUILD)/site/: the page and everything
# it loads, plain files any web server can serve. SDL2, SDL2_image and
# SDL2_mixer are built for it from Debian's source packages once per machine
# (tools/build-libs.sh); later builds build only the game. The compiler's
# tools run on Node.js and find Debian's JavaScript modules through NODE_PATH
# (a Node.js from elsewhere does not look there).
WEB_BUILD ?= build-web
WEB_PORT ?= 8000
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs

web: deps-web
	@libs=$$(sh tools/build-libs.sh web) && $(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_BUILD) \
		-DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF -DVANTREL_WEB_LIBS="$$libs" >/dev/null
	@$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)

.PHONY: deps-web
deps-web:
	@sh tools/install-deps.sh web

# The two ways of giving the browser control back, compared on size and speed
# (bench/web_loops.mjs): the page's own build and the per-frame loop.
.PHONY: web-bench
web-bench: web deps-test
	@$(EMSCRIPTEN_ENV) emcmake cmake -S . -B build-web-bench -DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF \
		-DVANTREL_WEB_LIBS="$$(sh tools/build-libs.sh web)" -DVANTREL_WEB_BENCH=ON >/dev/null
	@$(EMSCRIPTEN_ENV) cmake --build build-web-bench -j $(JOBS)
	@cd tests/web && { [ -d node_modules ] || npm ci --silent; }
	@for f in vantrel.wasm frame-loop.wasm vantrel.js frame-loop.js; do \
		printf '%-16s %8d bytes, %8d gzip-compressed\n' $$f $$(stat -c %s build-web-bench/site/$$f) \
			$$(gzip -9c build-web-bench/site/$$f | wc -c); done
	@node tools/web-serve.mjs --port 0 build-web-bench/site > build-web-bench/serve.log & pid=$$!; \
		for i in 1 2 3 4 5 6 7 8 9 10; do grep -q http build-web-bench/serve.log && break; sleep 0.5; done; \
		node bench/web_loops.mjs $$(grep -o 'http://[^ ]*' build-web-bench/serve.log | sed 's|/$$||'); \
		status=$$?; kill $$pid; exit $$status

# The game for Windows: vantrel-VERSION-windows-x64.zip in this directory,
# which unpacks to vantrel-VERSION/ with vantrel.exe, its data, a README and
# the licences. Cross-built in $(WINDOWS_BUILD)/ by Debian's mingw-w64, with
# SDL2, SDL2_image and SDL2_mixer built for it from Debian's source packages
# once per machine (tools/build-libs.sh), as for the browser.
WINDOWS_BUILD ?= build-windows

windows: deps-windows
	@libs=$$(sh tools/build-libs.sh windows) && cmake -S . -B $(WINDOWS_BUILD) \
		-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DVANTREL_WINDOWS_LIBS="$$libs" >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)

.PHONY: deps-windows
deps-windows:
	@sh tools/install-deps.sh windows

# Serves the page on 127.0.0.1 (WEB_PORT, 8000 unless set) and says where.
web-serve: web
	node tools/web-serve.mjs --port $(WEB_PORT) $(WEB_BUILD)/site

# The whole suite twice: as built for play, then built with the address and
# undefined-behaviour sanitizers (any report fails the run).
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-sanitized

.PHONY: test-sanitized
test-sanitized: deps-test
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_SANITIZE=ON >/dev/null
	@cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# The Debian package, vantrel_VERSION_ARCH.deb in this directory, built in
# build-deb/ and checked with lintian.
.PHONY: deb
deb:
	@sh tools/install-deps.sh deb
	@sh tools/make-deb.sh build-deb

# As root: a bare Debian 12 system runs make test and make deb, and a second
# one installs the package and plays it (see tools/bare-check.sh).
.PHONY: bare-check
bare-check:
	@sh tools/install-deps.sh bare
	@sh tools/bare-check.sh

clean:
	rm -rf $(BUILD) $(CHECK_BUILD) $(OTHER_BUILD) $(WEB_BUILD) $(WINDOWS_BUILD) vantrel-*-windows-x64.zip build-web-bench build-asan build-bench build-fuzz build-art build-sfx build-deb vantrel_*.deb

# Fuzzing with clang's libFuzzer (not part of the default build): the level
# parser, the picture decoder and the demo reader, each for FUZZ_SECONDS,
# starting from the shipped data and the catalogue of bad inputs.
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz:
	@sh tools/install-deps.sh fuzz
	@CXX=clang++ cmake -S fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@mkdir -p build-fuzz/corpus/level build-fuzz/corpus/picture build-fuzz/seeds/level build-fuzz/seeds/picture \
		build-fuzz/corpus/demo build-fuzz/seeds/demo
	@cp data/*.lvl.txt tests/bad_inputs/*.lvl.txt fuzz/seeds/level/* build-fuzz/seeds/level/
	@cp data/*.tga data/*.jpg tests/bad_inputs/*.tga tests/bad_inputs/*.jpg build-fuzz/seeds/picture/
	./build-fuzz/level_parser_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		-artifact_prefix=build-fuzz/ build-fuzz/corpus/level build-fuzz/seeds/level
	./build-fuzz/picture_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -max_len=300000 \
		-artifact_prefix=build-fuzz/ build-fuzz/corpus/picture build-fuzz/seeds/picture
	@cp tests/bad_inputs/*.demo fuzz/seeds/demo/* build-fuzz/seeds/demo/
	./build-fuzz/demo_reader_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		-artifact_prefix=build-fuzz/ build-fuzz/corpus/demo build-fuzz/seeds/demo

# The pictures in data/ are drawn by tools/art, built on its own in build-art/
# and kept out of the game's build:
#   make art         installs what drawing needs, builds the tool and redraws
#                    data/ (and build-art/preview.png, a contact sheet)
#   make art-check   draws them twice into a temporary directory and fails
#                    unless both runs and data/ agree byte for byte
ART_BUILD ?= build-art

.PHONY: art art-check art-tool

art-tool:
	@sh tools/install-deps.sh art
	@cmake -S tools/art -B $(ART_BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(ART_BUILD) -j $(JOBS)

art: art-tool
	@mkdir -p data
	./$(ART_BUILD)/vantrel-art data --preview $(ART_BUILD)/preview.png

art-check: art-tool
	@sh tools/reproducible-check.sh art ./$(ART_BUILD)/vantrel-art data "*.tga"

# The sound effects in data/ (sfx-*.wav) are synthesised by tools/sfx, built
# on its own in build-sfx/ and kept out of the game's build. It needs only a
# compiler and cmake, which the game's own packages already bring:
#   make sfx         builds the tool and rewrites data/sfx-*.wav
#   make sfx-check   synthesises them twice into a temporary directory and
#                    fails unless both runs and data/ agree byte for byte
SFX_BUILD ?= build-sfx

.PHONY: sfx sfx-check sfx-tool

sfx-tool:
	@sh tools/install-deps.sh
	@cmake -S tools/sfx -B $(SFX_BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(SFX_BUILD) -j $(JOBS)

sfx: sfx-tool
	@mkdir -p data
	./$(SFX_BUILD)/vantrel-sfx data

sfx-check: sfx-tool
	@sh tools/reproducible-check.sh sfx ./$(SFX_BUILD)/vantrel-sfx data "sfx-*.wav"

# Measurements: every figure beside its baseline, measured in one run; the
# table is printed and written into docs/performance.md with the date and
# the machine. Both build optimised in build-bench/, configured by
# bench-configure.
.PHONY: bench soak bench-configure
bench-configure:
	@sh tools/install-deps.sh bench
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVANTREL_BENCH=ON -DVANTREL_TESTS=OFF >/dev/null

bench: bench-configure
	@cmake --build build-bench -j $(JOBS)
	@python3 bench/report.py build-bench

# The soak: 10,000 level changes, 200 display-mode switches, 1,000 game overs.
soak: bench-configure
	@cmake --build build-bench -j $(JOBS) --target soak
	./build-bench/bench/soak
