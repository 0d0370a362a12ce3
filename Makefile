# make test : install missing packages, build, run every test, then again under ASan+UBSan.
# make bench: build optimised and run the benchmarks.
JOBS ?= $(shell nproc)
BUILD ?= build
SAN_BUILD ?= build-san
BENCH_BUILD ?= build-bench

.PHONY: all deps build test test-plain test-san bench run clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

test-plain: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-san: deps
	cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORNS_SANITIZE=ON -DVORNS_BENCH=OFF
	cmake --build $(SAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS)

test: test-plain test-san

bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORNS_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target vorns-bench
	$(BENCH_BUILD)/bench/vorns-bench

run:
	@echo "The game's application shell is not built yet: there is nothing to run so far." >&2
	@exit 1

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(BENCH_BUILD)
