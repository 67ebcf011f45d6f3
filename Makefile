# The README's commands. Each installs what is missing, configures and builds first.
PRESET ?= default
BUILD  := build/$(PRESET)

.PHONY: run test bench build configure deps clean

run: build
	$(BUILD)/bin/tessalind

test: build
	ctest --preset $(PRESET)

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b; done

build: configure
	cmake --build --preset $(PRESET)

configure: deps
	@mkdir -p build
	@cmake --preset $(PRESET) > $(BUILD).configure.log || { cat $(BUILD).configure.log; exit 1; }

deps:
	@scripts/install-deps

clean:
	rm -rf build
