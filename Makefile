# Densimo: one-step set-up, build, run and test on Debian 12.
#   make run    install what is missing, build, run the program
#   make test   install what is missing, build, run every test
SHELL := /bin/bash
.DEFAULT_GOAL := build

CMAKE ?= cmake
CTEST ?= ctest
CLI := build/dev/cli/densimo-cli

.PHONY: deps build run test test-asan bench bench-build format format-check clean

deps:
	./tools/install-deps.sh

build: deps
	$(CMAKE) --preset dev
	$(CMAKE) --build --preset dev

# Until the window lands, a short demonstration of the command-line tool.
run: build
	@echo '$$ densimo-cli convert 1A 0.8500 20'
	@$(CLI) convert 1A 0.8500 20
	@echo '$$ densimo-cli convert 1B 0.7800 25'
	@$(CLI) convert 1B 0.7800 25
	@echo '$$ densimo-cli convert 1A 0.611 20'
	@$(CLI) convert 1A 0.611 20 || true
	@echo '$$ densimo-cli batch tests/data/examples.csv | head -6'
	@$(CLI) batch tests/data/examples.csv | head -6

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

FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h')
format:
	clang-format -i $(FORMAT_FILES)

format-check:
	clang-format --dry-run --Werror $(FORMAT_FILES)

clean:
	rm -rf build
