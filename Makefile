# Entry points for people and CI. Everything a fresh Debian 12 machine needs is set up here.
BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
FUZZ_SECONDS ?= 120
BENCH_DIR ?= build-bench
JOBS      ?= $(shell nproc)

# Error reports name source files relative to the project root (a prefix map on
# the absolute paths); a ccache base_dir would hand the compiler relative paths
# and reuse objects compiled that way, so it is switched off for our builds.
export CCACHE_BASEDIR =

.PHONY: all deps configure build run test soak bench asan asan-build fuzz fuzz-build clang clean assets pak run-pak

all: build

deps:
	@sh tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The game runs from the folder that holds DATA/ (this one).
run: build
	@cmake --build $(BUILD_DIR) --target run_game

# Regenerates every generated file of DATA/ (textures, fonts, sounds, music,
# screens, descriptors) in place; commit the result with the generators.
assets: configure
	@cmake --build $(BUILD_DIR) --target assets

# The distribution's data: DATA/ packed into $(BUILD_DIR)/dist/DATA/quoril.pak.
pak: configure
	@cmake --build $(BUILD_DIR) --target pak

# The game run from the PAK instead of the loose files.
run-pak: configure
	@cmake --build $(BUILD_DIR) --target run_pak

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300

# 100,000 frames of seeded random play against the real game (QUORIL_SEED replays a run).
soak: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target soak

# AddressSanitizer + UndefinedBehaviorSanitizer (LeakSanitizer on) build of the
# whole suite with clang; the same build holds the fuzz targets, so CI compiles
# the tree twice, not three times.
asan-build: deps
	@CC=clang CXX=clang++ cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNIS_FUZZ=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)

asan: asan-build
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/lsan-suppressions.txt \
		ctest --output-on-failure -j $(JOBS) --timeout 600

# Every fuzz target for FUZZ_SECONDS each, then a table of executions and crashes.
fuzz-build: deps
	@CC=clang CXX=clang++ cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNIS_FUZZ=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS) --target fuzz_all

fuzz: fuzz-build
	@FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_JOBS=$(JOBS) fuzz/run.sh $(ASAN_DIR)

# Warnings-as-errors check with clang.
clang: deps
	@CXX=clang++ CC=clang cmake -S . -B build-clang -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-clang -j $(JOBS)

bench: deps
	@sh tools/install-deps.sh deps/bench-packages.txt
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNIS_BENCH=ON -DTARNIS_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS)
	@for b in $(BENCH_DIR)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(BENCH_DIR) build-clang
