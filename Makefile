# Thin wrapper around CMake so that building, running the example and testing are
# one command each.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BIN := $(abspath $(BUILD))/src/ww3-brevolan

.PHONY: all build example test bench clean

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# Converts the bundled example in mode 2 into $(BUILD)/example.
example: build
	rm -rf $(BUILD)/example && mkdir -p $(BUILD)/example
	cp examples/station.spec $(BUILD)/example/
	cd $(BUILD)/example && $(BIN) < $(CURDIR)/examples/mode2.answers
	@echo
	@echo "Output files in $(BUILD)/example:"
	@cd $(BUILD)/example && ls -l station.out station.txt station.eng station.dat
	@echo "Check plots: /usr/bin/python3 tools/plot_run.py $(BUILD)/example/station.eng"

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bench/ww3b_benchmarks

clean:
	rm -rf $(BUILD)
