# The commands of the README. Each first installs what is missing, then builds.
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: deps build run test bench fuzz soak memcheck screenshot package clean

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARIGON_SANITIZE=ON -DVARIGON_BENCH=OFF >/dev/null
	cmake --build $(SAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bench/engine_bench

clean:
	rm -rf $(BUILD) $(SAN_BUILD) build-*
