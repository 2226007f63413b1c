# The two commands a newcomer needs: `make run` and `make test`.
# `make` alone cross-compiles build/win/switchpoint.exe.

BUILD      := build
HOST_DIR   := $(BUILD)/host
WIN_DIR    := $(BUILD)/win
FUZZ_DIR   := $(BUILD)/fuzz
FUZZ_SECONDS ?= 300
JOBS       ?= 2

.PHONY: all win host deps run test unit e2e bench fuzz fuzz-build clean

all: win

deps:
	@bash tools/ensure_deps.sh

win: deps
	@cmake -S . -B $(WIN_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN_DIR) -j$(JOBS)

host: deps
	@cmake -S . -B $(HOST_DIR) -DCMAKE_BUILD_TYPE=Debug -DWIN_BUILD_DIR=$(abspath $(WIN_DIR)) \
	    -DFUZZ_BUILD_DIR=$(abspath $(FUZZ_DIR)) >/dev/null
	@cmake --build $(HOST_DIR) -j$(JOBS)

run: win
	@bash tools/run.sh

# The settings reader under libFuzzer for FUZZ_SECONDS; prints executions and crashes.
fuzz-build: deps
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++-14 -DSWITCHPOINT_FUZZ=ON \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ_DIR) -j$(JOBS)

fuzz: fuzz-build
	@bash tests/fuzz/run_fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# Every suite: host unit tests, a short fuzz run, then the end-to-end tests under Wine.
test: win host fuzz-build
	@cd $(HOST_DIR) && ctest --output-on-failure -j$(JOBS)

unit: host
	@cd $(HOST_DIR) && ctest --output-on-failure -j$(JOBS) -LE "e2e|fuzz"

e2e: win host
	@cd $(HOST_DIR) && ctest --output-on-failure -L e2e

bench: win
	@bash bench/run.sh

clean:
	rm -rf $(HOST_DIR) $(WIN_DIR) $(FUZZ_DIR) $(BUILD)/e2e $(BUILD)/run
