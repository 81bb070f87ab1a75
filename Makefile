# Wraps the dependency script, CMake and CTest. Everything lands in build/.
# make, make play and make install build the game alone (the binary, its
# eight datafiles and what installing adds); make test, make bench, make
# fuzz and make gallery add their own, into the same build folder, so the
# game is not built again. JOBS=N sets the compilers run at once.
BUILD := build
JOBS := $(shell nproc 2>/dev/null || echo 2)
# Under CI (CI set, as .ci/run has it) every warning is an error.
WERROR := $(if $(CI),ON,OFF)
GAME_TARGETS := swarmfire swarmfire_dist

PREFIX ?= /usr/local

.PHONY: all deps build play test sheets gallery clean fuzz bench install uninstall package windows windows-test

all: build

deps:
	scripts/install-deps.sh play

build: deps
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS) --target $(GAME_TARGETS)

play: build
	cd $(BUILD)/data && ../swarmfire

test:
	scripts/install-deps.sh test
	cmake -S . -B $(BUILD) -DSWARMFIRE_TESTS=ON -DSWARMFIRE_BENCH=ON -DSWARMFIRE_WERROR=$(WERROR)
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

# The fuzzers (clang, libFuzzer, ASan + UBSan) for FUZZ_SECONDS each: the
# datafile check from the seeds, the generated datafiles and the corpus kept
# in build/fuzz/corpus; the replay of recordings from its recorded seeds and
# the corpus in build/fuzz/corpus-recording. Each ends with executions,
# coverage and crashes.
FUZZ_SECONDS ?= 600
fuzz:
	scripts/install-deps.sh fuzz
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) --target datafiles -j $(JOBS)
	fuzz/run_fuzz.sh build $(CURDIR) $(CURDIR)/$(BUILD)/fuzz
	fuzz/run_fuzz.sh run $(CURDIR) $(CURDIR)/$(BUILD)/fuzz $(CURDIR)/$(BUILD)/data $(FUZZ_SECONDS) \
	  $(CURDIR)/$(BUILD)/fuzz/corpus
	fuzz/run_fuzz.sh run-recording $(CURDIR) $(CURDIR)/$(BUILD)/fuzz $(FUZZ_SECONDS) \
	  $(CURDIR)/$(BUILD)/fuzz/corpus-recording

# Benchmarks of the frame, the tick, the screens and the loading, their
# instruction counts, and the real binary under Xvfb; figures in build/bench.
bench:
	scripts/install-deps.sh bench
	cmake -S . -B $(BUILD) -DSWARMFIRE_TESTS=ON -DSWARMFIRE_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)
	bench/run_all.sh $(BUILD)

# The game, its datafiles, desktop entry, icons, manual page, AppStream
# metadata, copyright and changelog under
# $(PREFIX) (binary in games/, data in share/games/swarmfire); DESTDIR is
# honoured. The build is configured for that prefix, so the game finds its
# data there, and hardened with Debian's build flags.
install: deps
	cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=$(PREFIX) -DSWARMFIRE_HARDENING=ON
	cmake --build $(BUILD) -j $(JOBS) --target $(GAME_TARGETS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD)

# Removes what the last install from $(BUILD) put in place (the same
# DESTDIR, if any, must be given again).
uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "nothing was installed from $(BUILD)"; exit 1; }
	sed 's|^|$(DESTDIR)|' $(BUILD)/install_manifest.txt | xargs -r -d '\n' rm -f --
	sed -n 's#^\(.*/\(games\|doc\)/swarmfire\)/[^/]*$$#$(DESTDIR)\1#p' $(BUILD)/install_manifest.txt | \
	  sort -u | xargs -r -d '\n' rmdir --ignore-fail-on-non-empty --

# The Debian package, built for /usr in $(BUILD)/package.
package:
	scripts/install-deps.sh package
	dist/build-package.sh . $(BUILD)/package $(JOBS)

# The game for 64-bit Windows, cross-built with MinGW into $(WINDOWS): the
# library's source fetched, checked and built static with its patches
# (scripts/build-allegro-windows.sh, into $(WINDOWS)/library), the
# datafiles and the icon of the Linux build, then the exe, and what a
# player downloads: $(WINDOWS)/swarmfire-1.0-win64.zip and the installer
# $(WINDOWS)/swarmfire-1.0-win64-setup.exe (dist/windows/package.sh).
WINDOWS := build-windows
WINDOWS_CMAKE := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/dist/windows/mingw64-toolchain.cmake \
  -DSWARMFIRE_ALLEGRO_WINDOWS=$(CURDIR)/$(WINDOWS)/library/allegro -DSWARMFIRE_LINUX_BUILD=$(CURDIR)/$(BUILD)
windows:
	scripts/install-deps.sh windows
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS) --target datafiles swarmfire_icons
	scripts/build-allegro-windows.sh $(WINDOWS)/library
	cmake -S . -B $(WINDOWS) $(WINDOWS_CMAKE)
	cmake --build $(WINDOWS) -j $(JOBS) --target swarmfire windows_packages

# Its tests under wine64 (tests/windows): the unit tests cross-built, the
# exe in a window under Xvfb beside the Linux build's game and tools, and
# the zip and the installer tried as a player would.
windows-test: windows
	scripts/install-deps.sh windows-test
	cmake -S . -B $(BUILD) -DSWARMFIRE_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS) --target swarmfire xwd_probe x_client
	cmake -S . -B $(WINDOWS) $(WINDOWS_CMAKE) -DSWARMFIRE_TESTS=ON
	cmake --build $(WINDOWS) -j $(JOBS)
	cd $(WINDOWS) && ctest --output-on-failure -j $(JOBS) -L windows

clean:
	rm -rf $(BUILD) $(WINDOWS)
