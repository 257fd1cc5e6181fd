# make run: install what is missing, build, start quon.
# make test: the same, then every test under ctest.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench format clean

all: build

deps:
	@./scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	QT_LOGGING_RULES="qt.qml.compiler=false" ./$(BUILD_DIR)/quon $(ARGS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# As root the web engine's sandbox cannot start; the PDF figure needs it off.
BENCH_ENV := $(if $(filter 0,$(shell id -u)),QTWEBENGINE_DISABLE_SANDBOX=1)

bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target quon-bench
	$(BENCH_ENV) ./$(BUILD_DIR)/bench/quon-bench $(ARGS)

format:
	@git ls-files -co --exclude-standard '*.cpp' '*.h' | xargs -r clang-format -i

clean:
	rm -rf $(BUILD_DIR)
