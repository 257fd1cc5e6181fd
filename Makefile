# make run: install what is missing, build what quon needs to run, start it.
# make test: install what is missing, build everything, run every test under ctest.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test test-stress bench format clean check-asan fuzz fuzz-smoke

all: build

deps:
	@./scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# What running quon needs: the app (its translations built into it), its PDF
# printer and the Files module it offers to install.
RUN_TARGETS := quon quon-pdf-printer quon-nautilus

run: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target $(RUN_TARGETS)
	QT_LOGGING_RULES="qt.qml.compiler=false" ./$(BUILD_DIR)/quon $(ARGS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The whole suite ROUNDS times at twice as many jobs as cores, every core kept busy.
ROUNDS ?= 5

test-stress: build
	@ROUNDS=$(ROUNDS) ./scripts/test-stress $(BUILD_DIR)

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer; the first
# report stops the test. Leaks are reported too, but for those of the libraries below
# quon listed in scripts/lsan-suppressions.txt.
ASAN_BUILD_DIR ?= build-asan
SANITIZER_ENV := \
  ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_init_order=1 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan-suppressions.txt:print_suppressions=0

check-asan: deps
	@cmake -S . -B $(ASAN_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUON_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	cd $(ASAN_BUILD_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# libFuzzer targets (fuzz/), built with clang; fuzz-smoke runs each for FUZZ_SECONDS.
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 30

fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUON_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" >/dev/null
	@cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS) --target quon-fuzzers

fuzz-smoke: fuzz
	@./scripts/fuzz-smoke $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS)

bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target quon-bench
	./$(BUILD_DIR)/bench/quon-bench $(ARGS)

format:
	@git ls-files -co --exclude-standard '*.cpp' '*.h' | xargs -r clang-format -i

clean:
	rm -rf $(BUILD_DIR)
