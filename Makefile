# Front door of the project. `make` builds everything, `make test` builds and runs every test
# (a plain build and an address/undefined-behaviour sanitizer build), `make demo` plays the demo.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)

.PHONY: all build test demo save-timelines bootstrap clean

all: build

bootstrap:
	@scripts/bootstrap.sh

build: bootstrap
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DGANG_HIDEOUTS_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@echo "== tests (sanitizer build)"
	@ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)
	@echo "== tests (release build)"
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The timeline goes to the terminal; the map and the trace go beside the build.
demo: build
	@$(BUILD)/tools/gang-hideouts-sim --build 06h --trace $(BUILD)/demo-trace.jsonl --svg $(BUILD)/demo-map.svg

# After an intended change to what the simulator prints: writes every scenario's timeline to
# tests/scenarios/expected/, which make test compares line by line.
save-timelines: build
	@cmake --build $(BUILD) --target save-timelines

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
