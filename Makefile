# The two commands of the README:
#   make example   set up, build and run the bundled example analysis
#   make test      set up, build and run every test (also under sanitizers)
JOBS ?= 2
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
CMAKE_FLAGS ?=

.PHONY: deps build example test test-plain test-asan test-fuzz clean

deps:
	./scripts/setup-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

example: build
	$(BUILD)/bin/trevasc run examples/drilled-shaft/shaft.trv --out-dir out/drilled-shaft --plots --json
	@echo
	@cat out/drilled-shaft/shaft.report.txt

test-plain: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTREVASC_WERROR=ON -DTREVASC_BUILD_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)
	ctest --test-dir $(BUILD) -j$(JOBS) --output-on-failure

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTREVASC_SANITIZE=ON -DTREVASC_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) -j$(JOBS) --output-on-failure

# A short fuzz run of the input reader with a fixed seed, seeded from our own
# valid files; any crash, sanitizer report or hang fails it.
test-fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTREVASC_BUILD_FUZZ=ON -DTREVASC_BUILD_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target trevasc_input_fuzzer
	rm -rf $(FUZZ_BUILD)/corpus && mkdir -p $(FUZZ_BUILD)/corpus
	$(FUZZ_BUILD)/fuzz/trevasc_input_fuzzer -seed=1 -runs=1500 -max_len=4096 -timeout=30 \
	  -dict=fuzz/input.dict $(FUZZ_BUILD)/corpus tests/data/input examples

test: test-plain test-asan test-fuzz

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) out
