# make run: checks for a display, installs what is missing, builds the program, starts it.
# make test: installs what is missing, builds everything, runs every test.
# make install / make uninstall: the program for the current user (PREFIX, default ~/.local).
# make test-windows: the Qt-free core and the Win32 backend, built for Windows and tested under Wine.
# make deb: the Debian package in build-deb/; make test-deb: the package built, linted, unpacked and run.
# WERROR=ON turns compiler warnings into errors (CI does).
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
PREFIX ?= $(HOME)/.local
WERROR ?= OFF
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build program run test install uninstall deb test-deb test-windows screenshots bench readme-table clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DNAGITORI_WERROR=$(WERROR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

program: configure
	@cmake --build $(BUILD) -j $(JOBS) --target nagitori

# Without a display nothing is installed or built: the answer comes at once.
run:
	@scripts/check-display.sh
	@$(MAKE) program
	@$(BUILD)/src/nagitori

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The prefix reaches the scripts through the environment, so that blanks and quotes in it stay as they are.
install uninstall: export PREFIX := $(PREFIX)
install: program
	@scripts/install.sh "$(BUILD)" "$$PREFIX"

uninstall:
	@scripts/uninstall.sh "$$PREFIX"

deb:
	@scripts/install-deps.sh scripts/packages.txt scripts/deb-packages.txt
	@scripts/build-deb.sh

test-deb: deb
	@tests/package/PackageTest.sh build-deb/nagitori_$$(dpkg-parsechangelog -S Version)_$$(dpkg-architecture -q DEB_HOST_ARCH).deb

test-windows:
	@JOBS=$(JOBS) WERROR=$(WERROR) scripts/test-windows.sh

screenshots: build
	@QT_QPA_PLATFORM=offscreen $(BUILD)/tests/nagitori_screenshots screenshots
	@echo "Screenshots written to screenshots/"

bench: build
	@$(BUILD)/bench/nagitori_bench
	@$(BUILD)/bench/nagitori_startup_probe
	@$(BUILD)/bench/nagitori_history_bench
	@$(BUILD)/bench/nagitori_handover_bench

# The README's stand-in table, from the program's own table.
readme-table: build
	@$(BUILD)/tools/nagitori_standin_table --update README.md

clean:
	@rm -rf $(BUILD)
