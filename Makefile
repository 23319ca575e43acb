# The front door: `make run` and `make test` do all set-up on a fresh Debian 12 machine.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps build run test package install screenshots bench fuzz sanitize clean

deps:
	@./tools/deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/app/tallyx --virtual-printer

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) --timeout 300

# A .deb of the three programs: sudo apt install ./build/tallyx_*.deb
package: build
	@cmake --build $(BUILD) --target package

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

# The README's pictures, made again under Xvfb.
screenshots: build
	./tools/screenshots.sh $(BUILD)

# The benchmark programs are part of the normal build; the script runs them and prints the table.
bench: build
	@./bench/run.sh $(BUILD)

# libFuzzer targets (clang, address and undefined-behaviour checks) in build-fuzz;
# each runs FUZZ_SECONDS; a crashing input is kept in build-fuzz/crashes/NAME/.
FUZZ_SECONDS ?= 60
fuzz: deps
	@FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) ./tools/fuzz.sh

# The tests with address and undefined-behaviour checks (build-asan), then the threaded
# tests with thread checks (build-tsan).
sanitize: deps
	@JOBS=$(JOBS) ./tools/sanitize.sh

clean:
	rm -rf $(BUILD)
