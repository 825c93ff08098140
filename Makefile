# The two things a developer runs:
#   make demo   builds the demo launcher around a real MSI and runs it under Wine
#   make test   builds everything and runs all tests
# Both install what is missing first (apt-get).
#
# Two build trees: build/win32 is the shipped 32-bit launcher; build/win64 is
# the same code built for 64-bit Windows, which the tests and the demo run
# under Wine (see README: this machine's kernel runs no 32-bit programs).
# build/tool is the native transform generator the launcher builder runs; it
# is built first and its path handed to the Windows trees.
# TEST_ARCH=win32 runs them on the 32-bit build where the machine can.

TEST_ARCH ?= win64
BUILD := build
GENERATOR := -G Ninja

TRANSFORM_TOOL := $(abspath $(BUILD)/tool/msi-transform)

.PHONY: all deps build demo test fuzz bench clean

all: build

deps:
	@ORVANE_WINE32=$(if $(filter win32,$(TEST_ARCH)),1,0) sh scripts/install-deps.sh

$(BUILD)/win32/build.ninja: | deps
	cmake -S . -B $(BUILD)/win32 $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw.cmake -DORVANE_TARGET_ARCH=i686 \
	  -DBUILD_TESTING=$(if $(filter win32,$(TEST_ARCH)),ON,OFF)
$(BUILD)/win64/build.ninja: | deps
	cmake -S . -B $(BUILD)/win64 $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw.cmake -DORVANE_TARGET_ARCH=x86_64 \
	  -DBUILD_TESTING=$(if $(filter win64,$(TEST_ARCH)),ON,OFF) -DORVANE_SHIPPED_DIR=$(abspath $(BUILD)/win32)

$(BUILD)/tool/build.ninja: | deps
	cmake -S tools/msi-transform -B $(BUILD)/tool $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++

$(BUILD)/host/build.ninja: | deps
	cmake -S tests/host -B $(BUILD)/host $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++

build: deps $(BUILD)/tool/build.ninja $(BUILD)/win32/build.ninja $(BUILD)/win64/build.ninja $(BUILD)/host/build.ninja
	cmake --build $(BUILD)/tool
	cmake -B $(BUILD)/win32 -DORVANE_TRANSFORM_TOOL=$(TRANSFORM_TOOL) >/dev/null
	cmake -B $(BUILD)/win64 -DORVANE_TRANSFORM_TOOL=$(TRANSFORM_TOOL) >/dev/null
	cmake --build $(BUILD)/win32
	cmake --build $(BUILD)/win64
	cmake --build $(BUILD)/host

# Under Wine: unit, end-to-end and transform tests. Natively: the transform
# generator's checks, the portable logic under AddressSanitizer/UBSan and each
# fuzz target for FUZZ_SECONDS (default 30).
test: build
	ctest --test-dir $(BUILD)/tool --output-on-failure
	bash scripts/run-tests.sh $(BUILD)/$(TEST_ARCH)
	cmake -S tests/host -B $(BUILD)/host -DFUZZ_SECONDS=$(or $(FUZZ_SECONDS),30) >/dev/null
	ctest --test-dir $(BUILD)/host --output-on-failure

# Fuzz as long as you like: make fuzz FUZZ_SECONDS=3600
fuzz: deps $(BUILD)/host/build.ninja
	cmake -S tests/host -B $(BUILD)/host -DFUZZ_SECONDS=$(or $(FUZZ_SECONDS),600) >/dev/null
	cmake --build $(BUILD)/host
	ctest --test-dir $(BUILD)/host -L fuzz --output-on-failure

# Extraction speed and memory: launchers around generated packages of these
# sizes (MB), timed against a bare cabinet copy and cabextract.
BENCH_SIZES ?= 100 300
bench: build
	python3 scripts/bench-extract.py $(BUILD)/$(TEST_ARCH) $(BENCH_SIZES)

demo: build
	bash scripts/run-demo.sh $(BUILD)/$(TEST_ARCH) $(BUILD)/win32

clean:
	rm -rf $(BUILD)
