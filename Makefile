# make test : install missing packages, build everything once, checked by AddressSanitizer
#             and UndefinedBehaviorSanitizer, and run every test in that build.
# make test-plain: build the ordinary optimised tree (build/) and run every test there.
# make bench: build optimised and run the benchmarks.
# make run  : build the game and its data set and start it.
# make fuzz : build the fuzz targets with clang and run each for FUZZ_SECONDS (default 60).
# make fuzz-build: only build them (CI does, so that they keep compiling).
JOBS ?= $(shell nproc)
BUILD ?= build
SAN_BUILD ?= build-san
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_JOBS ?= 1
FUZZ_TARGETS ?=
# DROP_BUILDS=1 removes each test build once its tests have passed (CI's disk is small).
DROP_BUILDS ?=

.PHONY: all deps build test test-plain test-san bench fuzz fuzz-build run clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

test-plain: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	$(if $(DROP_BUILDS),rm -rf $(BUILD))

# The checked build finds what the plain one does and more; it also compiles the
# benchmarks, so that they keep building. Asserts stay on (a Debug tree); the top
# CMakeLists sets its optimisation.
test-san: deps
	cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORNS_SANITIZE=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS)
	$(if $(DROP_BUILDS),rm -rf $(SAN_BUILD))

test: test-san

# The benchmark target lays out the data set in $(BENCH_BUILD)/game first; every case that
# reads a runtime folder is pointed there.
bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORNS_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target vorns-bench
	VORNS_GAME_DIR=$(abspath $(BENCH_BUILD))/game $(BENCH_BUILD)/bench/vorns-bench

fuzz-build:
	@tools/install-deps.sh clang libclang-rt-14-dev
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DVORNS_FUZZ=ON -DVORNS_TESTS=OFF -DVORNS_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target vorns-fuzz

fuzz: fuzz-build
	FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_JOBS=$(FUZZ_JOBS) fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_TARGETS)

# The game runs from its runtime folder, build/game, in a 1024 x 768 window. The data set
# is built too once the tree has its target.
run: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target vorns
	@if cmake --build $(BUILD) --target help | grep -q '^vorns-data:'; then \
	  cmake --build $(BUILD) -j $(JOBS) --target vorns-data; \
	else \
	  echo "No data set target in this tree yet: the game will name the first file it misses." >&2; \
	fi
	cd $(BUILD)/game && ./vorns Window

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
