# Two commands set everything up on a fresh Debian machine:
#   make play   installs what is missing, builds, and starts the game
#   make test   installs what is missing, builds, and runs every test headless
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build play test clean

all: build

deps:
	@sh tools/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

play: build
	./$(BUILD)/vantrel

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
