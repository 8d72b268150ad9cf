# Front door of the project. `make` builds everything (Linux, and the Windows deliverables
# cross-built into build-windows/), `make test` builds and runs every test (a plain build with the
# Windows checks and Wine runs, and an address/undefined-behaviour sanitizer build), `make demo`
# plays the demo, `make dist` packs the eight Windows builds for players into dist/.
BUILD         ?= build
ASAN_BUILD    ?= build-asan
WINDOWS_BUILD ?= build-windows
DIST          ?= dist
JOBS          ?= $(shell nproc)

FUZZ_BUILD    ?= build-fuzz
FUZZ_SECONDS  ?= 60
SOAK_DAYS     ?= 30
SEED          ?= 1

.PHONY: all build windows test demo dist save-timelines save-tables bench format bootstrap clean soak fuzz

all: build

bootstrap:
	@scripts/bootstrap.sh

build: bootstrap windows
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DGANG_HIDEOUTS_WINDOWS_BUILD=$(abspath $(WINDOWS_BUILD)) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# The same sources cross-built with mingw-w64: the .asi files, the stand-in script host and the
# Windows simulator, side by side in $(WINDOWS_BUILD)/.
windows: bootstrap
	@cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)

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

# Benchmarks, each repeated five times; the table shows medians, then the ratios. BENCH_ARGS adds
# Google Benchmark options, e.g. BENCH_ARGS=--benchmark_filter=idle.
bench: build
	@cmake --build $(BUILD) --target gang_hideouts_bench -j $(JOBS)
	@$(BUILD)/bench/gang_hideouts_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true $(BENCH_ARGS)

# After an intended change to what the simulator prints: writes every scenario's timeline to
# tests/scenarios/expected/, which make test compares line by line.
save-timelines: build
	@cmake --build $(BUILD) --target save-timelines

# After an intended change to a constant table of the plug-in (hideouts, profiles, formation,
# speech scripts): writes tests/data/expected/tables.txt, which make test compares line by line.
save-tables: build
	@cmake --build $(BUILD) --target save-tables

# Thirty game days of every build with the invariants checked: a progress line, then a summary
# per build. A failure names the build, the seed and the frame; SEED=N replays another session.
soak: build
	@$(BUILD)/tools/gang-hideouts-soak --days $(SOAK_DAYS) --seed $(SEED)

# libFuzzer, built with clang into $(FUZZ_BUILD)/: each target runs FUZZ_SECONDS (default 60) from
# the committed seed corpus in fuzz/corpus/; what it finds goes to $(FUZZ_BUILD)/findings/.
FUZZ_TARGETS = scenario_parser tick tick_calendar
fuzz:
	@scripts/bootstrap.sh --fuzz
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DGANG_HIDEOUTS_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS)) \
		>$(FUZZ_BUILD)/build.log 2>&1 || { cat $(FUZZ_BUILD)/build.log; exit 1; }
	@mkdir -p $(FUZZ_BUILD)/findings
	@for target in $(FUZZ_TARGETS); do \
		corpus=fuzz/corpus/$$(echo $$target | sed 's/_calendar//'); \
		mkdir -p $(FUZZ_BUILD)/corpus/$$target; \
		echo "== fuzz_$$target for $(FUZZ_SECONDS) s"; \
		$(FUZZ_BUILD)/fuzz/fuzz_$$target -max_total_time=$(FUZZ_SECONDS) -timeout=20 -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/findings/$$target- \
			$(FUZZ_BUILD)/corpus/$$target $$corpus 2>&1 | grep -E '^(stat::|==|SUMMARY|tick fuzz|Done)' || exit 1; \
	done

# Rewrites every C++ source with .clang-format; make test fails on a file left unformatted.
format: bootstrap
	@cmake -DSOURCE_DIR=$(CURDIR) -DMODE=apply -P cmake/format.cmake

# dist/: the eight .asi files, one zip per build with its INSTALL.txt, and SHA256SUMS.
dist: windows
	@cmake -DWINDOWS_BUILD=$(abspath $(WINDOWS_BUILD)) -DDIST=$(abspath $(DIST)) -P scripts/dist.cmake

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WINDOWS_BUILD) $(DIST) $(FUZZ_BUILD)
