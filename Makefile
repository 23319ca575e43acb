# The front door: `make run` and `make test` do all set-up on a fresh Debian 12 machine.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps build run test bench fuzz clean

deps:
	@./tools/deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/app/tallyx --virtual-printer

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) --timeout 300

# The benchmark programs are part of the normal build; the script runs them and prints the table.
bench: build
	@./bench/run.sh $(BUILD)

fuzz:
	@echo "none yet"

clean:
	rm -rf $(BUILD)
