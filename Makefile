# Convenience entry points; CMake does the real work.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
DEMO_HOME  ?= $(BUILD)/demo-home
PACKAGE_BUILD ?= build-package

.PHONY: all deps configure build test test-asan run demo bench package clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) --timeout 300

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DLINVARA_SANITIZE=ON -DLINVARA_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan-suppressions.txt ctest --output-on-failure -j$(JOBS) --timeout 600

demo: build
	@test -d $(DEMO_HOME) || $(BUILD)/src/cli/linvara-cli make-demo $(DEMO_HOME)

run: demo
	$(BUILD)/src/ui/linvara --home $(DEMO_HOME) --layout macos

bench: deps
	cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DLINVARA_BUILD_BENCH=ON
	cmake --build build-release -j$(JOBS)
	@for b in build-release/bench/bench_*; do echo "== $$b"; $$b; done

# A Release build of the programs alone, packed as a .deb in $(PACKAGE_BUILD).
package: deps
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DLINVARA_BUILD_TESTS=OFF -DLINVARA_BUILD_BENCH=OFF
	cmake --build $(PACKAGE_BUILD) -j$(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-release $(PACKAGE_BUILD)
