# Quick start: `make run` builds and runs the bundled example; `make test` builds and runs every test.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all build run test bench clean

all: build

build:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd examples && ./run_example.sh ../$(BUILD_DIR)/quelvarin

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

bench:
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQV_BENCH=ON -DQV_TESTS=OFF
	cmake --build build-bench -j $(JOBS)
	cd build-bench && ../bench/run_benchmarks.sh

clean:
	rm -rf $(BUILD_DIR) build-asan build-bench
