# The two things a developer runs:
#   make demo   builds the demo launcher around a real MSI and runs it under Wine
#   make test   builds everything and runs all tests
# Both install what is missing first (apt-get).
#
# Two build trees: build/win32 is the shipped 32-bit launcher; build/win64 is
# the same code built for 64-bit Windows, which the tests and the demo run
# under Wine (see README: this machine's kernel runs no 32-bit programs).
# TEST_ARCH=win32 runs them on the 32-bit build where the machine can.

TEST_ARCH ?= win64
BUILD := build
GENERATOR := -G Ninja

.PHONY: all deps build demo test clean

all: build

deps:
	@ORVANE_WINE32=$(if $(filter win32,$(TEST_ARCH)),1,0) sh scripts/install-deps.sh

$(BUILD)/win32/build.ninja: | deps
	cmake -S . -B $(BUILD)/win32 $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw.cmake -DORVANE_TARGET_ARCH=i686 \
	  -DBUILD_TESTING=$(if $(filter win32,$(TEST_ARCH)),ON,OFF)
$(BUILD)/win64/build.ninja: | deps
	cmake -S . -B $(BUILD)/win64 $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw.cmake -DORVANE_TARGET_ARCH=x86_64 \
	  -DBUILD_TESTING=$(if $(filter win64,$(TEST_ARCH)),ON,OFF) -DORVANE_SHIPPED_DIR=$(abspath $(BUILD)/win32)

build: deps $(BUILD)/win32/build.ninja $(BUILD)/win64/build.ninja
	cmake --build $(BUILD)/win32
	cmake --build $(BUILD)/win64

test: build
	bash scripts/run-tests.sh $(BUILD)/$(TEST_ARCH)

demo: build
	bash scripts/run-demo.sh $(BUILD)/$(TEST_ARCH) $(BUILD)/win32

clean:
	rm -rf $(BUILD)
