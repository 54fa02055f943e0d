# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
CTEST_ARGS ?=
PACKAGES := qt6-base-dev cmake ninja-build g++ xvfb xdotool x11-utils imagemagick fonts-dejavu-core fonts-urw-base35 \
            xauth desktop-file-utils appstream dpkg-dev python3 xserver-xephyr x11-xserver-utils \
            openbox weston xwayland qt6-wayland lintian sway wtype grim wayvnc libxcb1-dev icewm

BENCH_PACKAGES := libbenchmark-dev libx11-dev libxtst-dev libxext-dev
BENCH_ARGS ?=
STARTUP_RUNS ?= 11
KEY_RUNS ?= 5
MEMORY_RUNS ?= 3
CLICK_RUNS ?= 5
CLICK_SCREENS ?= 1920x1080 3840x2160
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build run test test-sanitize soak bench bench-click fuzz gallery install package clean

all: build

# Installs what is missing when run as root; otherwise says exactly what to install.
deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	  else \
	    echo "Some packages are missing. Install them with:"; \
	    echo "  sudo apt-get install --no-install-recommends$$missing"; \
	    exit 1; \
	  fi; \
	fi

configure: deps
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) -G Ninja

build: configure
	cmake --build $(BUILD)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "quorbel needs a graphical desktop, and none was found (DISPLAY is not set); on a machine without one, try: xvfb-run -s '-screen 0 1920x1080x24' $(BUILD)/quorbel"; \
	  exit 1; \
	fi
	$(BUILD)/quorbel

test: build
	cd $(BUILD) && ctest --output-on-failure -j2 $(CTEST_ARGS)

# The whole suite again, built with AddressSanitizer (leak checking on) and UndefinedBehaviorSanitizer.
SANITIZE_BUILD ?= build-sanitize
test-sanitize: deps
	@test -f $(SANITIZE_BUILD)/build.ninja || \
	  cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQRBL_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD)
	cd $(SANITIZE_BUILD) && \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j2 -LE packaging $(CTEST_ARGS)

# The real program through every test, help and about SOAK_ROUNDS times; memory and stderr judged.
SOAK_ROUNDS ?= 20
soak: build
	QRBL_BUILD_DIR=$(BUILD) bash tests/soak/soak.sh $(BUILD)/quorbel $(SOAK_ROUNDS)

# Frame times of every pattern against a plain fill; start-up, key to picture and peak memory against
# plain Qt programs, in interleaved pairs (more pairs: make bench STARTUP_RUNS=21 KEY_RUNS=11 MEMORY_RUNS=5).
bench: build
	@$(MAKE) --no-print-directory deps PACKAGES="$(BENCH_PACKAGES)"
	@cmake -S . -B $(BUILD) >/dev/null # finds Google Benchmark if deps just installed it
	cmake --build $(BUILD) --target bench-tools frame_bench
	$(BUILD)/bench/frame_bench $(BENCH_ARGS)
	bench/startup.sh $(BUILD) $(STARTUP_RUNS)
	bench/references.sh $(BUILD) $(KEY_RUNS) $(MEMORY_RUNS)

# Click to pattern for every test in Xvfb (about three minutes per screen size).
bench-click: build
	@$(MAKE) --no-print-directory deps PACKAGES="$(BENCH_PACKAGES)"
	@cmake -S . -B $(BUILD) >/dev/null
	cmake --build $(BUILD) --target click-tools
	bench/clicktopattern.sh $(BUILD) $(CLICK_RUNS) $(CLICK_SCREENS)

# Each libFuzzer target for FUZZ_SECONDS; what a run finds is kept in fuzz/findings/.
fuzz: deps
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"
	@test -f $(FUZZ_BUILD)/build.ninja || CXX=clang++ CC=clang \
	  cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQRBL_FUZZ=ON
	cmake --build $(FUZZ_BUILD)
	@mkdir -p fuzz/findings
	@for f in $$(find $(FUZZ_BUILD)/fuzz -maxdepth 1 -type f -executable -name "fuzz_*"); do \
	  name=$$(basename $$f); mkdir -p $(FUZZ_BUILD)/corpus/$$name; \
	  echo "== $$name ($(FUZZ_SECONDS) s)"; \
	  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 $$f -max_total_time=$(FUZZ_SECONDS) \
	    -artifact_prefix=fuzz/findings/$$name- $(FUZZ_BUILD)/corpus/$$name fuzz/corpus/$$name 2>&1 | tail -n 3 || exit 1; \
	done

# The README's pictures, rendered again by the program's own drawing code (the gallery test compares them).
# The windows on a screen of common size, where they have all the room their text asks for.
GALLERY_WINDOWS := main-window pre-test-message help about update update-latest update-not-responding \
                   main-window-large about-large
gallery: build
	$(BUILD)/tools/quorbel-render --size 640x360 --out docs/gallery
	$(BUILD)/tools/quorbel-render --size 1920x1080 --out docs/gallery $(GALLERY_WINDOWS)

# Installs under CMAKE_INSTALL_PREFIX (default /usr/local); DESTDIR is honoured.
install: build
	cmake --install $(BUILD)

# The Debian package quorbel_<version>_<arch>.deb, in the build folder.
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
