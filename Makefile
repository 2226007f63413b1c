# The two commands a newcomer needs: `make run` and `make test`.
# `make` alone cross-compiles build/win/switchpoint.exe.

BUILD      := build
HOST_DIR   := $(BUILD)/host
WIN_DIR    := $(BUILD)/win
ASAN_DIR   := $(BUILD)/asan
TSAN_DIR   := $(BUILD)/tsan
FUZZ_DIR   := $(BUILD)/fuzz
FUZZ_SECONDS ?= 300
JOBS       ?= 2

# What a newcomer sees is the build's own progress and the program's lines:
# not every sub-make's "Entering directory".
MAKEFLAGS  += --no-print-directory

# Every C++ file of the tree, in one fixed order.
CXX_FILES   = $(shell find src tests bench tools -type f \( -name '*.cpp' -o -name '*.h' \) | LC_ALL=C sort)
# A sanitizer's first finding fails the test that made it.
SAN_ENV    := ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1 \
              TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

.PHONY: all win host deps run test unit e2e bench clean format format-check lint asan asan-build tsan \
        fuzz fuzz-build dist screenshots

all: win

deps:
	@bash tools/ensure_deps.sh

# CMake reads the toolchain file on the first configure only, and after that
# warns that it went unused.
WIN_TOOLCHAIN = $(if $(wildcard $(WIN_DIR)/CMakeCache.txt),,-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake)
WIN_CONFIGURE = cmake -S . -B $(WIN_DIR) $(WIN_TOOLCHAIN) -DCMAKE_BUILD_TYPE=Release >/dev/null

win: deps
	@$(WIN_CONFIGURE)
	@cmake --build $(WIN_DIR) -j$(JOBS)

host: deps
	@cmake -S . -B $(HOST_DIR) -DCMAKE_BUILD_TYPE=Debug -DWIN_BUILD_DIR=$(abspath $(WIN_DIR)) \
	    -DFUZZ_BUILD_DIR=$(abspath $(FUZZ_DIR)) >/dev/null
	@cmake --build $(HOST_DIR) -j$(JOBS)

# Only what running needs: the exe and the guide its links open.
run: deps
	@$(WIN_CONFIGURE)
	@cmake --build $(WIN_DIR) -j$(JOBS) --target switchpoint guide
	@bash tools/run.sh

# The installer and the portable zip in build/dist/.
dist: win
	@cmake --build $(WIN_DIR) --target dist
	@ls -l $(BUILD)/dist

# The guide's pictures, taken from the real exe under Wine, into docs/.
screenshots: win
	@bash tools/make_screenshots.sh $(WIN_DIR)

# The settings and options readers under libFuzzer for FUZZ_SECONDS each; prints executions and crashes.
fuzz-build: deps
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++-14 -DSWITCHPOINT_FUZZ=ON \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ_DIR) -j$(JOBS)

fuzz: fuzz-build
	@bash tests/fuzz/run_fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS) settings
	@bash tests/fuzz/run_fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS) options

# Every check and suite, quickest first: the format, clang-tidy, the unit
# tests under ASan and UBSan, then the host unit tests, a short fuzz run
# and the end-to-end tests under Wine.
test: format-check lint win dist host asan-build fuzz-build
	@cd $(ASAN_DIR) && $(SAN_ENV) ctest --output-on-failure -j$(JOBS)
	@cd $(HOST_DIR) && ctest --output-on-failure -j$(JOBS)

# Rewrites every C++ file in place.
format:
	@clang-format -i $(CXX_FILES)

format-check: deps
	@clang-format --dry-run --Werror $(CXX_FILES)
	@echo "format: $(words $(CXX_FILES)) files as .clang-format lays them out"

lint: host
	@bash tools/check_layers.sh src
	@bash tools/lint.sh $(HOST_DIR) $(JOBS)

asan-build: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=address,undefined >/dev/null
	@cmake --build $(ASAN_DIR) -j$(JOBS)

# The unit tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: asan-build
	@cd $(ASAN_DIR) && $(SAN_ENV) ctest --output-on-failure -j$(JOBS)

# The unit tests that run product code on threads of their own (suites named
# *ThreadsTest), under ThreadSanitizer.
tsan: deps
	@cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=thread >/dev/null
	@cmake --build $(TSAN_DIR) -j$(JOBS)
	@cd $(TSAN_DIR) && $(SAN_ENV) ctest --output-on-failure -j$(JOBS) -R 'ThreadsTest\.'

unit: host
	@cd $(HOST_DIR) && ctest --output-on-failure -j$(JOBS) -LE "e2e|fuzz"

e2e: win dist host
	@cd $(HOST_DIR) && ctest --output-on-failure -L e2e

bench: win
	@bash bench/run.sh

clean:
	rm -rf $(HOST_DIR) $(WIN_DIR) $(ASAN_DIR) $(TSAN_DIR) $(FUZZ_DIR) $(BUILD)/e2e $(BUILD)/run $(BUILD)/dist
