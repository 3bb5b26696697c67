# Convenience entry points; CMake does the real work.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
DEMO_HOME  ?= $(BUILD)/demo-home
PACKAGE_BUILD ?= build-package
BUILD_RELEASE ?= build-release
# Those that print summary lines, then the rest.
BENCHMARKS ?= bench_full_read bench_cli_list bench_search bench_window_read
MORE_BENCHMARKS ?= bench_edit bench_sort bench_export bench_dead_links

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

# Every benchmark, then their summary lines (BENCH name figure unit peak-MiB) in $(BUILD_RELEASE)/bench-summary.txt.
bench: deps
	cmake -S . -B $(BUILD_RELEASE) -DCMAKE_BUILD_TYPE=Release -DLINVARA_BUILD_BENCH=ON -DLINVARA_BUILD_GUI=ON
	cmake --build $(BUILD_RELEASE) -j$(JOBS) --target $(BENCHMARKS) $(MORE_BENCHMARKS)
	@rm -f $(BUILD_RELEASE)/bench-summary.txt $(BUILD_RELEASE)/bench-output.txt
	@for b in $(BENCHMARKS); do echo "== $$b"; $(BUILD_RELEASE)/bench/$$b | tee -a $(BUILD_RELEASE)/bench-output.txt | grep '^BENCH ' >> $(BUILD_RELEASE)/bench-summary.txt || exit 1; done
	@for b in $(MORE_BENCHMARKS); do echo "== $$b"; $(BUILD_RELEASE)/bench/$$b | tee -a $(BUILD_RELEASE)/bench-output.txt || exit 1; done
	@cat $(BUILD_RELEASE)/bench-summary.txt

# A Release build of the programs alone, packed as a .deb in $(PACKAGE_BUILD).
package: deps
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DLINVARA_BUILD_TESTS=OFF -DLINVARA_BUILD_BENCH=OFF
	cmake --build $(PACKAGE_BUILD) -j$(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BUILD_RELEASE) $(PACKAGE_BUILD)
