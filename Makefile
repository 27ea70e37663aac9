# Quick start: `make run` builds and runs the bundled example; `make test` builds and runs every test.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all build run run-wfx run-promolecular test bench fuzz clean
FUZZ_SECONDS ?= 60

all: build

build:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd examples && ./run_example.sh ../$(BUILD_DIR)/quelvarin

# The second example: the water dimer from a .wfx file with g functions and core densities.
run-wfx: build
	cd examples && ./run_wfx_example.sh ../$(BUILD_DIR)/quelvarin

# The large-system example: a promolecular density from a 412-atom geometry.
run-promolecular: build
	cd examples && ./run_promolecular_example.sh ../$(BUILD_DIR)/quelvarin

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

bench:
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQV_BENCH=ON -DQV_TESTS=OFF
	cmake --build build-bench -j $(JOBS)
	cd build-bench && ../bench/run_benchmarks.sh

# Fuzz every reader for FUZZ_SECONDS each (needs clang and its libFuzzer runtime).
fuzz:
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON -DQV_TESTS=OFF
	cmake --build build-fuzz -j $(JOBS)
	tests/fuzz/run_fuzzers.sh build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) build-asan build-tsan build-bench
