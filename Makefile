# Thin wrapper around CMake so that building, running the example and testing are one
# command each. Every target first checks for the Debian packages it needs and installs the
# missing ones (tools/setup-check.sh: apt-get as root or through sudo, otherwise it prints
# the command to run).
SHELL := /bin/bash
# cmake --build runs make again: no "Entering directory" lines from it
MAKEFLAGS += --no-print-directory
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BIN := $(abspath $(BUILD))/src/ww3-brevolan
SETUP := tools/setup-check.sh

# What each target needs. The netCDF C library is read by the program itself; the JSON
# library (header-only) writes the run record and the inventory.
PROGRAM_NEEDS := cmake g++ make libnetcdf-dev nlohmann-json3-dev
TEST_NEEDS := $(PROGRAM_NEEDS) libgtest-dev libbenchmark-dev python3-matplotlib clang-tidy
BENCH_NEEDS := $(PROGRAM_NEEDS) libbenchmark-dev

# A fresh build folder starts with the tests and benchmarks off, so that the program alone
# needs neither Google Test nor Google Benchmark; `test` and `bench` turn on what they build,
# and a folder configured before keeps its choices otherwise.
configure = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release \
	$(if $(wildcard $(BUILD)/CMakeCache.txt),,-DWW3B_TESTS=OFF -DWW3B_BENCHMARKS=OFF) $(1) $(CMAKE_FLAGS)

.PHONY: all build example test bench clean

all: build

# Everything the build folder is configured for (a fresh one: the program and ww3-synth).
build:
	@$(SETUP) $(PROGRAM_NEEDS)
	$(call configure)
	cmake --build $(BUILD) -j $(JOBS)

# Builds the program only and converts the bundled example in mode 2 into $(BUILD)/example.
example:
	@$(SETUP) $(PROGRAM_NEEDS)
	$(call configure)
	cmake --build $(BUILD) -j $(JOBS) --target ww3-brevolan
	rm -rf $(BUILD)/example && mkdir -p $(BUILD)/example
	cp examples/station.spec $(BUILD)/example/
	cd $(BUILD)/example && $(BIN) < $(CURDIR)/examples/mode2.answers
	@echo
	@echo "Output files in $(BUILD)/example:"
	@cd $(BUILD)/example && ls -l station.out station.txt station.eng station.dat
	@echo "Check plots: tools/plot_run.py $(BUILD)/example/station.eng"

# Builds everything (program, tools, tests, benchmarks) and runs every test: one line each
# (ctest's "Start" lines are left out), the output of a failing one in full.
test:
	@$(SETUP) $(TEST_NEEDS)
	$(call configure,-DWW3B_TESTS=ON -DWW3B_BENCHMARKS=ON)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && set -o pipefail && \
	  ctest --output-on-failure -j $(JOBS) | grep --line-buffered -v '^ *Start  *[0-9]*: '

bench:
	@$(SETUP) $(BENCH_NEEDS)
	$(call configure,-DWW3B_BENCHMARKS=ON)
	cmake --build $(BUILD) -j $(JOBS) --target ww3b_benchmarks
	$(BUILD)/bench/ww3b_benchmarks

clean:
	rm -rf $(BUILD)
