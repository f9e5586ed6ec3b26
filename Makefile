# Quorvane: `make run` and `make test` do all set-up on a fresh Debian machine.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

# Debian packages the build, the tests and the program need.
PACKAGES := g++ cmake ninja-build ccache qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
            libbenchmark-dev fonts-liberation2 poppler-utils
FUZZ_PACKAGES := clang

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps build run test bench fuzz fuzz-deps clean

deps:
	@missing=""; for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/quorvane

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

bench: build
	@for b in $(BUILD_DIR)/bench/*_bench; do echo "== $$b"; $$b --benchmark_min_time=0.5 || exit 1; done

fuzz-deps:
	@missing=""; for p in $(FUZZ_PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then $(SUDO) apt-get update && $(SUDO) apt-get install -y $$missing; fi

# libFuzzer targets for the file readers (clang); not part of `make test`.
FUZZ_SECONDS ?= 120
fuzz: deps fuzz-deps
	cmake -S . -B fuzz-build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DQV_FUZZ=ON -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
	cmake --build fuzz-build -j $(JOBS) --target fuzz_fcs_reader fuzz_txt_reader
	mkdir -p fuzz-build/corpus-fcs fuzz-build/corpus-txt
	./fuzz-build/fuzz_fcs_reader -max_total_time=$(FUZZ_SECONDS) fuzz-build/corpus-fcs
	./fuzz-build/fuzz_txt_reader -max_total_time=$(FUZZ_SECONDS) fuzz-build/corpus-txt

clean:
	rm -rf $(BUILD_DIR) fuzz-build
