# Wraps the dependency script, CMake and CTest. Everything lands in build/.
BUILD := build
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build play test sheets bench clean

all: build

deps:
	scripts/install-deps.sh play

build: deps
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)

play: build
	cd $(BUILD)/data && ../swarmfire

test:
	scripts/install-deps.sh test
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Contact sheets of the datafiles in build/sheets, samples as WAV in build/sounds.
sheets: build
	cmake --build $(BUILD) --target sheets

# Benchmarks of the frame, the tick, the screens and the loading, their
# instruction counts, and the real binary under Xvfb; figures in build/bench.
bench:
	scripts/install-deps.sh bench
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)
	bench/run_all.sh $(BUILD)

clean:
	rm -rf $(BUILD)
