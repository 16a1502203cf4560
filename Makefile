# Entry points for people and CI. Everything a fresh Debian 12 machine needs is set up here.
BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
BENCH_DIR ?= build-bench
FUZZ_DIR  ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS      ?= $(shell nproc)

.PHONY: all deps configure build run test soak fuzz bench asan clang clean assets pak run-pak

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

# Each fuzz target for FUZZ_SECONDS from its seeds (libFuzzer, clang, ASan + UBSan);
# new inputs collect in $(FUZZ_DIR)/corpus/<target>, crashes in $(FUZZ_DIR)/crashes/.
# target:seed folder:libFuzzer flags (- for none). A GUI manager registers its
# script functions with Lua, whose collector frees the old ones inputs later:
# allocations never balance per input, so those targets search leaks at exit only.
FUZZ_TABLE = fuzz_gui_data:DATA/gui:-detect_leaks=0 fuzz_gui_values:fuzz/game/seeds/values:-detect_leaks=0 \
             fuzz_level_pack:DATA/levels:- fuzz_highscore:fuzz/game/seeds/highscore:-
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNIS_FUZZ=ON \
	  -DTARNIS_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(foreach row,$(FUZZ_TABLE),$(firstword $(subst :, ,$(row))))
	@mkdir -p $(FUZZ_DIR)/crashes
	@for row in $(FUZZ_TABLE); do t=$${row%%:*}; rest=$${row#*:}; flags=$${rest#*:}; [ "$$flags" = - ] && flags=; \
	  c=$(CURDIR)/$(FUZZ_DIR)/corpus/$$t; mkdir -p $$c; \
	  $(FUZZ_DIR)/$$t -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=$(CURDIR)/$(FUZZ_DIR)/crashes/$$t- $$flags \
	    $$c $(CURDIR)/$${rest%%:*} > $(FUZZ_DIR)/$$t.log 2>&1 || { tail -40 $(FUZZ_DIR)/$$t.log; exit 1; }; \
	  printf '%-18s %s\n' $$t "$$(grep '^Done' $(FUZZ_DIR)/$$t.log)"; done

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
	@sh tools/install-deps.sh deps/bench-packages.txt
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNIS_BENCH=ON -DTARNIS_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS)
	@for b in $(BENCH_DIR)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(BENCH_DIR) build-clang
