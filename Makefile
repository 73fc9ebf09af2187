# The two commands of the README:
#   make example   set up, build and run the bundled example analysis
#   make test      set up, build and run every test (also under sanitizers)
JOBS ?= 2
BUILD ?= build
ASAN_BUILD ?= build-asan
CMAKE_FLAGS ?=

.PHONY: deps build example test test-plain test-asan clean

deps:
	./scripts/setup-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

example: build
	$(BUILD)/bin/trevasc run examples/minimal/minimal.trv --out-dir out/minimal --plots --json
	@echo
	@cat out/minimal/minimal.report.txt

test-plain: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTREVASC_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)
	ctest --test-dir $(BUILD) -j$(JOBS) --output-on-failure

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTREVASC_SANITIZE=ON -DTREVASC_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) -j$(JOBS) --output-on-failure

test: test-plain test-asan

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) out
