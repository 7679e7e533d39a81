# The two commands: `make run` and `make test`. See README.md.
SHELL := /bin/bash
.SHELLFLAGS := -eu -o pipefail -c
JOBS ?= $(shell nproc)

.PHONY: test test-native test-win64 test-win32 run bench bench-win bench-startup dist dist-check bootstrap \
	native win64 win32 game64 game32 clean

bootstrap:
	@tools/bootstrap.sh

native: bootstrap
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

win64: bootstrap
	@cmake --preset win64 >/dev/null
	@cmake --build --preset win64 -j $(JOBS)

win32: bootstrap
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j $(JOBS)

# One build's game alone: each build's tests read the other build's game too.
game64: bootstrap
	@cmake --preset win64 >/dev/null
	@cmake --build --preset win64 -j $(JOBS) --target quillory

game32: bootstrap
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j $(JOBS) --target quillory

# The three suites run at the same time, each printed whole when it ends
# (tools/run-suites.sh); every one runs to its end, and the run fails if any did.
# The 32-bit suite, emulated where the kernel runs no 32-bit code and the
# longest by far, runs in two lanes (tools/win-suite.sh): the second core
# would otherwise idle once the other suites end.
# Then the download must come out the same from a second checkout.
WIN32_LANES ?= 2
test: native win64 win32
	@status=0; tools/run-suites.sh native win64 win32:$(WIN32_LANES) || status=1; \
	  tools/dist-check.sh || status=1; exit $$status

# One suite alone.
test-native: native
	@ctest --preset native

test-win64: win64 game32
	@tools/win-suite.sh win64

test-win32: win32 game64
	@tools/win-suite.sh win32 $(WIN32_LANES)

# Only the game itself is built (not the test programs), and only once we
# know there is a display to show it on. Its bootstrap installs what the 64-bit
# game needs and no test tools, so where GoogleTest's sources are missing the
# tests are left out of the configuration.
run:
	@tools/run-game.sh --check-display
	@tools/bootstrap.sh run
	@cmake --preset win64 $$([[ -d /usr/src/googletest ]] || echo -DQUILLORY_TESTS=OFF) >/dev/null
	@cmake --build --preset win64 -j $(JOBS) --target quillory
	@tools/run-game.sh $(CURDIR)/build/win64

bench: bootstrap
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench -j $(JOBS)
	@build/bench/bench/core_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# The Windows side's figures under Wine on a private display: the main
# window's tick with its paint, the full redraw, their ratio, the idle
# program's CPU share; the cost of painting one menu entry; the mean tick
# interval at every level and the idle wake-ups. Printed, never
# checked; `make test` does not run them.
BENCH_WIN := build/win64/bench/win/main_form_bench.exe build/win64/bench/win/menu_paint_bench.exe \
	build/win64/bench/win/control_paint_bench.exe build/win64/bench/win/pace_bench.exe
bench-win: bootstrap
	@cmake --preset win64 >/dev/null
	@cmake --build --preset win64 -j $(JOBS) --target main_form_bench menu_paint_bench control_paint_bench \
	  pace_bench
	@tools/wine-prefix.sh $(CURDIR)/build/win64/wine init
	@status=0; for program in $(BENCH_WIN); do \
	  echo "bench-win: tools/with-xvfb.sh tools/wine-run.sh build/win64/wine $$program"; \
	  tools/with-xvfb.sh tools/wine-run.sh $(CURDIR)/build/win64/wine $$program || status=$$?; \
	done; tools/wine-prefix.sh $(CURDIR)/build/win64/wine stop; exit $$status

# Start-up: the game against a plain Win32 window with the same menu bar,
# status bar and faces, interleaved under Wine on a private display; the
# medians of launch to main window mapped and their ratio. Printed, never
# checked; `make test` does not run it.
bench-startup: bootstrap
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench -j $(JOBS) --target map_timer
	@cmake --preset win64 >/dev/null
	@cmake --build --preset win64 -j $(JOBS) --target quillory startup_reference
	@tools/wine-prefix.sh $(CURDIR)/build/win64/wine init
	@echo "bench-startup: tools/with-xvfb.sh bench/startup/startup_bench.sh (16 runs each)"
	@tools/with-xvfb.sh bench/startup/startup_bench.sh $(CURDIR)/build/bench/bench/map_timer \
	  $(CURDIR)/build/win64/wine $(CURDIR)/build/win64/src/game/quillory.exe \
	  $(CURDIR)/build/win64/bench/win/startup_reference.exe

# What players download, from the 32-bit release game (the very file the
# win32 suite runs): the game with a short how-to-play, as a zip and as an
# installer for the current user, and the SHA-256 sums of the three.
dist: bootstrap
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j $(JOBS) --target dist
	@rm -rf dist
	@mkdir -p dist
	@cp -p build/win32/dist/quillory.exe build/win32/dist/README.txt build/win32/dist/*.zip \
	  build/win32/dist/*-setup.exe build/win32/dist/SHA256SUMS dist/
	@for f in dist/*; do echo "dist: $$f ($$(stat -c %s "$$f") bytes)"; done

# The same bytes from a second checkout of the commit (tools/dist-check.sh).
dist-check: dist
	@tools/dist-check.sh

clean:
	rm -rf build dist
