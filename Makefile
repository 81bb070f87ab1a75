# Wraps the dependency script, CMake and CTest. Everything lands in build/.
BUILD := build
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build play test sheets gallery clean fuzz bench

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

# Every screen at its characteristic moment in build/gallery (index.html),
# with the contact sheets and sounds linked.
gallery:
	scripts/install-deps.sh test
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS) --target gallery

# The datafile fuzzer (clang, libFuzzer, ASan + UBSan) for FUZZ_SECONDS,
# from the seeds, the generated datafiles and the corpus kept in
# build/fuzz/corpus; ends with executions, coverage and crashes.
FUZZ_SECONDS ?= 600
fuzz:
	scripts/install-deps.sh fuzz
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) --target datafiles -j $(JOBS)
	fuzz/run_fuzz.sh build $(CURDIR) $(CURDIR)/$(BUILD)/fuzz
	fuzz/run_fuzz.sh run $(CURDIR) $(CURDIR)/$(BUILD)/fuzz $(CURDIR)/$(BUILD)/data $(FUZZ_SECONDS) \
	  $(CURDIR)/$(BUILD)/fuzz/corpus

# Benchmarks of the frame, the tick, the screens and the loading, their
# instruction counts, and the real binary under Xvfb; figures in build/bench.
bench:
	scripts/install-deps.sh bench
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)
	bench/run_all.sh $(BUILD)

clean:
	rm -rf $(BUILD)
