# The commands of the README. Each first installs what is missing, then builds.
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: deps build run test bench fuzz soak memcheck screenshot package clean

deps:
	@scripts/install-deps $(BENCH_DEPS)

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARIGON_SANITIZE=ON -DVARIGON_BENCH=OFF >/dev/null
	cmake --build $(SAN_BUILD) -j $(JOBS)
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS)

run: build
	$(BUILD)/varigon

screenshot: build
	scripts/screenshot $(BUILD)/varigon $(BUILD)/screenshot.png

bench: BENCH_DEPS = libquantlib0-dev
bench: build
	$(BUILD)/bench/engine_bench
	$(BUILD)/bench/keystroke_bench
	@if [ -x $(BUILD)/bench/quantlib_bench ]; then $(BUILD)/bench/quantlib_bench; fi
	bench/startup $(BUILD)/varigon

# A long randomized session on the real window under the sanitizers.
SOAK_SEED    ?= 1
SOAK_ACTIONS ?= 100000
soak: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARIGON_SANITIZE=ON -DVARIGON_BENCH=OFF >/dev/null
	cmake --build $(SAN_BUILD) --target random_user_tests -j $(JOBS)
	VARIGON_SEED=$(SOAK_SEED) VARIGON_ACTIONS=$(SOAK_ACTIONS) UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  /usr/bin/time -f 'soak: %e s, peak RSS %M KB' \
	  $(SAN_BUILD)/tests/random_user_tests --gtest_filter='RandomUserTest.EveryAction*'

# The scripted session under valgrind; fails on bytes definitely lost outside Qt's own.
memcheck: build
	scripts/memcheck $(BUILD)/tests/random_user_tests

# Fuzzes the field conversions for FUZZ_SECONDS on a scratch copy of the seed
# corpus; the committed corpus never grows. Findings land in $(FUZZ_BUILD)/.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARIGON_FUZZ=ON >/dev/null
	cmake --build $(FUZZ_BUILD) --target conversions_fuzzer -j $(JOBS)
	rm -rf $(FUZZ_BUILD)/corpus && cp -r fuzz/corpus $(FUZZ_BUILD)/corpus
	$(FUZZ_BUILD)/fuzz/conversions_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  -artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus

# The .deb lands in $(BUILD)/; its Depends come from the libraries the program links.
package: build
	cd $(BUILD) && cpack

clean:
	rm -rf $(BUILD) $(SAN_BUILD) build-*
