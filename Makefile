# The two commands of the README. Each installs what is missing, then builds what it needs.
.PHONY: all deps native win64 win32 native-asan fuzz test run clean dist

all: test

deps:
	@bash tools/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native

win64: deps
	cmake --preset win64 >/dev/null
	cmake --build --preset win64

win32: deps
	cmake --preset win32 >/dev/null
	cmake --build --preset win32

# The native tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer: any finding
# fails the run.
native-asan: deps
	cmake --preset native-asan >/dev/null
	cmake --build --preset native-asan
	ctest --preset native-asan

# Builds the libFuzzer targets (clang) and runs each for FUZZ_SECONDS seconds from the corpus in
# fuzz/corpus; a crash or a broken invariant fails the run.
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	FUZZ_SECONDS=$(FUZZ_SECONDS) bash fuzz/run.sh

# Builds the three targets, then runs the tests natively and under Wine (on a virtual display,
# for the windows): as 64-bit programs, then as 32-bit ones where the kernel runs them (else
# it says so), and checks the shipped DLL; then builds the installer (make dist) and tests it
# under Wine: install, the stand-in IDE loading the installed add-in, upgrade, uninstall.
test: native win64 win32
	bash tools/check-layers.sh
	ctest --preset native
	$(MAKE) native-asan
	$(MAKE) fuzz
	cmake/with-display ctest --preset win64
	bash tools/test-win32.sh
	$(MAKE) dist
	bash installer/tests/run.sh

# The installer and the zip of the shipped 32-bit DLL: dist/Marrowby-<version>-setup.exe and
# dist/Marrowby-<version>.zip (installer/dist.sh; the version is CMakeLists.txt's).
dist: deps
	@bash installer/dist.sh

# Starts the stand-in IDE with the add-in loaded and sample projects in its recent list: the
# 32-bit pair where the kernel runs 32-bit programs, as a user's IDE would, else the 64-bit one.
# Without a display it saves a screenshot (build/run/standin.png) instead.
run:
	@bash tools/run.sh

# Benchmarks, never part of test: the project file reader and the list load natively and under
# Wine, each beside its I/O floor, the add-in's connection in the stand-in IDE, and the stripped
# size of the shipped DLL. One line a figure: BENCH <name> <value> <unit>, RATIO <name> <value>.
.PHONY: bench
bench:
	@bash tools/bench.sh

# Line and branch coverage of the native build's code, per folder (gcov, gcovr).
.PHONY: coverage
coverage:
	@bash tools/coverage.sh

# Deliberate faults (tools/mutants/*.patch), each applied, built and tested in turn: every one
# must be caught by the tests of its folder.
.PHONY: mutants
mutants:
	@bash tools/mutants.sh

clean:
	rm -rf build dist
