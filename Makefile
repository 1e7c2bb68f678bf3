# Densimo: one-step set-up, build, run and test on Debian 12.
#   make run    install what is missing, build, run the program
#   make test   install what is missing, build, run every test
SHELL := /bin/bash
.DEFAULT_GOAL := build

CMAKE ?= cmake
CTEST ?= ctest
CLI := build/dev/cli/densimo-cli

.PHONY: deps build run test test-asan bench bench-build sweep fuzz tidy package screenshots \
        table-screenshot \
        startup-time art \
        format format-check clean

deps:
	./tools/install-deps.sh

build: deps
	$(CMAKE) --preset dev
	$(CMAKE) --build --preset dev

# Opens the window; without a display says how to get one.
run: build
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "make run: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)."; \
	  echo "  On a desktop, run it from a terminal inside the desktop session."; \
	  echo "  On a server, use a virtual display: apt-get install xvfb, then xvfb-run -a make run"; \
	  echo "  (or see the window in pictures: make screenshots)."; \
	  exit 1; \
	fi
	build/dev/ui/densimo

test: build
	$(CTEST) --preset dev

test-asan: deps
	$(CMAKE) --preset asan
	$(CMAKE) --build --preset asan
	$(CTEST) --preset asan

bench-build: deps
	$(CMAKE) --preset release
	$(CMAKE) --build --preset release

bench: bench-build
	build/release/bench/densimo_bench
	build/release/bench/densimo_sweep

# Every input each table accepts, through the whole procedure: figures printed.
sweep: bench-build
	build/release/bench/densimo_sweep

# libFuzzer on the procedure and on batch input, FUZZ_SECONDS each (clang).
FUZZ_SECONDS ?= 60
fuzz: deps
	./tools/install-deps.sh clang libclang-rt-14-dev
	$(CMAKE) --preset fuzz
	$(CMAKE) --build --preset fuzz
	tools/run-fuzz.sh build/fuzz $(FUZZ_SECONDS)

# clang-tidy over every source of ours (needs the dev build's compile commands).
tidy: build
	./tools/install-deps.sh clang-tidy
	tools/run-tidy.sh build/dev build/release

# A Debian package with computed dependencies, checked.
package: build
	rm -f build/dev/densimo_*.deb
	cd build/dev && cpack -G DEB
	tools/check-package.sh build/dev/densimo_*.deb

# Pictures of the real program under Xvfb, in build/screenshots/.
screenshots: build
	./tools/install-deps.sh xvfb xauth xdotool imagemagick
	tools/screenshots.sh build/dev/ui/densimo build/screenshots

# The printable 1B table through Chromium's print to PDF: PNGs of its first pages.
table-screenshot: build
	./tools/install-deps.sh chromium poppler-utils
	tools/table-screenshot.sh build/dev/cli/densimo-cli build/screenshots

# Start-up to the first shown window, release build under Xvfb.
startup-time: bench-build
	./tools/install-deps.sh xvfb xauth xdotool
	tools/startup-time.sh build/release/ui/densimo

# Redraws the icon and logo pictures in ui/res.
art: build
	$(CMAKE) --build --preset dev --target densimo_render_art
	QT_QPA_PLATFORM=offscreen build/dev/ui/densimo_render_art ui/res

FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h')
format:
	clang-format -i $(FORMAT_FILES)

format-check:
	clang-format --dry-run --Werror $(FORMAT_FILES)

clean:
	rm -rf build
