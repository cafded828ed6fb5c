# make run: install what is missing, build, start the program.
# make test: install what is missing, build, run every test.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run test screenshots bench clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)/src/nagitori

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

screenshots: build
	@QT_QPA_PLATFORM=offscreen $(BUILD)/tests/nagitori_screenshots screenshots
	@echo "Screenshots written to screenshots/"

bench: build
	@$(BUILD)/bench/nagitori_bench
	@$(BUILD)/bench/nagitori_startup_probe

clean:
	@rm -rf $(BUILD)
