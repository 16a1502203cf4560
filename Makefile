# Entry points for people and CI. Everything a fresh Debian 12 machine needs is set up here.
BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
BENCH_DIR ?= build-bench
JOBS      ?= $(shell nproc)

.PHONY: all deps configure build run test soak bench asan clang clean assets pak run-pak

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

# AddressSanitizer + UndefinedBehaviorSanitizer build of the whole suite.
asan: deps
	@cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARNIS_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 600

# Warnings-as-errors check with clang.
clang: deps
	@CXX=clang++ CC=clang cmake -S . -B build-clang -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-clang -j $(JOBS)

bench: deps
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNIS_BENCH=ON -DTARNIS_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS)
	@for b in $(BENCH_DIR)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(BENCH_DIR) build-clang
