# Quorlscope: build, run, test and benchmark.
#
#   make run        build and start the application (needs a display)
#   make test       the test suite, plain and with ASan/UBSan, then a short fuzz run
#   make bench      the benchmarks, each reported as a ratio against its baseline
#   make bench-instructions  start-up under X counted in instructions (callgrind)
#   make test-fresh `make test` on a fresh Debian system in a chroot (root; downloads):
#                   RELEASE=bookworm (Debian 12, the default) or RELEASE=trixie (Debian 13)
#   make screenshot docs/screenshot.png of the running application under Xvfb
#   make install    install into PREFIX (default /usr/local; DESTDIR is honoured)
#   make uninstall  remove what `make install` put into PREFIX
#   make package    build/quorlscope_<version>_<architecture>.deb
#   make translations        collects new texts into resources/translations/*.ts
#                            (as unfinished entries) and lists what is left to translate
#   make check-translations  fails while any text lacks a translation
#   make check-layers        fails when an include or a link points up a layer
#                            (also a test of the suite, Layers.OneWay)
#   make format     clang-format on the tracked sources
#   make clean      remove the build folders
#
# Variables: JOBS (parallel compile jobs), CTEST_JOBS (parallel tests, default 1),
# FUZZ_SECONDS (per fuzz target in `make test`), ARGS (arguments for `make run`),
# RELEASE (the Debian release of `make test-fresh`),
# SCREENSHOT_DELAY, SCREENSHOT_ARGS, PREFIX and DESTDIR.

SHELL := /bin/bash
.SHELLFLAGS := -eu -o pipefail -c
.DEFAULT_GOAL := run
# One step at a time: the recipes run their own parallel builds.
.NOTPARALLEL:
MAKEFLAGS += --no-print-directory

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CTEST_JOBS ?= 1
CTEST_TIMEOUT ?= 300
FUZZ_SECONDS ?= 10
SCREENSHOT_DELAY ?= 6
SCREENSHOT_ARGS ?=
ARGS ?=
PREFIX ?= /usr/local
RELEASE ?= bookworm

BUILD := build
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
BENCH_BUILD := build-bench
APP := $(BUILD)/app/quorlscope

# Headless runs: Qt's offscreen platform, and configuration and runtime
# folders of their own so that tests never touch the user's preferences.
TEST_ENV_DIR = $(CURDIR)/$(1)/test-env
define headless_env
	rm -rf "$(call TEST_ENV_DIR,$(1))"; \
	mkdir -p "$(call TEST_ENV_DIR,$(1))/config" "$(call TEST_ENV_DIR,$(1))/runtime"; \
	chmod 700 "$(call TEST_ENV_DIR,$(1))/runtime"; \
	export QT_QPA_PLATFORM=offscreen \
	       XDG_CONFIG_HOME="$(call TEST_ENV_DIR,$(1))/config" \
	       XDG_RUNTIME_DIR="$(call TEST_ENV_DIR,$(1))/runtime";
endef

# Sanitizer settings for the ASan build and the fuzzer. Leak suppressions,
# when present, name third-party frames only. intercept_tls_get_addr=0: the
# runtime of GCC 12 can take a dynamic TLS block that malloc happens to place
# at a certain page offset for an old glibc's header, read a bogus range from
# it, and crash LeakSanitizer's tracer at exit with no leak to report.
LSAN_SUPP := $(wildcard $(CURDIR)/tests/lsan.supp)
SANITIZER_ENV := export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:check_initialization_order=1:intercept_tls_get_addr=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=$(if $(LSAN_SUPP),suppressions=$(LSAN_SUPP):)print_suppressions=0;

# "== NAME: N tests, M skipped" from a ctest log: the tests that did not run
# are those it lists as skipped or disabled after the run.
define count_tests
	awk '/tests failed out of/ { total = $$NF } \
	     /^The following tests did not run:/ { listed = 1; next } \
	     listed && /^[[:space:]]+[0-9]+ - / { skipped++; next } { listed = 0 } \
	     END { printf "== %s: %d tests, %d skipped\n", "$(2)", total, skipped }' "$(1)"
endef

CTEST = ctest --output-on-failure --no-tests=error --timeout $(CTEST_TIMEOUT) --parallel $(CTEST_JOBS) --test-dir

.PHONY: run test test-plain test-asan test-fuzz test-fresh bench bench-instructions screenshot format clean deps build install uninstall package translations check-translations check-layers

deps:
	@scripts/install-deps

# The application in build/ (RelWithDebInfo), configured as `make test` does
# so that the two share one build.
build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQRL_BUILD_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS) --target quorlscope desktop_icons

# Without a display Qt would abort; say how to run it instead, in one line,
# before anything is built.
ifneq ($(filter run,$(or $(MAKECMDGOALS),run)),)
ifeq ($(strip $(DISPLAY)$(WAYLAND_DISPLAY)$(QT_QPA_PLATFORM)),)
$(error no display (neither DISPLAY nor WAYLAND_DISPLAY is set): run it under Xvfb with `xvfb-run -a make run`)
endif
endif

run: build
	./$(APP) $(ARGS)

test: test-plain test-asan test-fuzz

test-plain: deps
	@$(call headless_env,$(BUILD)) \
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQRL_BUILD_TESTS=ON -DQRL_WERROR=ON && \
	cmake --build $(BUILD) -j $(JOBS) && \
	echo "== tests (plain build)" && { \
	    { $(CTEST) $(BUILD); echo $$? >$(BUILD)/ctest-plain.status; } | tee $(BUILD)/ctest-plain.log; \
	    $(call count_tests,$(BUILD)/ctest-plain.log,plain); \
	    exit $$(cat $(BUILD)/ctest-plain.status); }

test-asan: deps
	@$(call headless_env,$(ASAN_BUILD)) $(SANITIZER_ENV) \
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQRL_BUILD_TESTS=ON -DQRL_SANITIZE=ON -DQRL_WERROR=ON && \
	cmake --build $(ASAN_BUILD) -j $(JOBS) && \
	echo "== tests (AddressSanitizer + UndefinedBehaviorSanitizer build)" && \
	$(CTEST) $(ASAN_BUILD)

# Each fuzz target runs FUZZ_SECONDS on a corpus kept in build-fuzz/corpus/,
# seeded from fuzz/corpus/<target>/ when that exists; crashes land in
# build-fuzz/artifacts/. The full log of a run is build-fuzz/<target>.log.
test-fuzz: deps
	@if [ ! -f fuzz/CMakeLists.txt ]; then echo "== fuzz: no fuzz targets yet, skipped"; exit 0; fi; \
	$(call headless_env,$(FUZZ_BUILD)) $(SANITIZER_ENV) \
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQRL_BUILD_TESTS=OFF -DQRL_BUILD_FUZZ=ON -DQRL_WERROR=ON \
	      -DCMAKE_CXX_COMPILER=clang++ >/dev/null; \
	cmake --build $(FUZZ_BUILD)/fuzz -j $(JOBS); \
	targets=$$(find $(FUZZ_BUILD)/fuzz -maxdepth 1 -type f -perm -u+x | sort); \
	if [ -z "$$targets" ]; then echo "== fuzz: no fuzz executables built"; exit 1; fi; \
	mkdir -p $(FUZZ_BUILD)/artifacts; \
	for exe in $$targets; do \
	    name=$$(basename $$exe); corpus=$(FUZZ_BUILD)/corpus/$$name; mkdir -p $$corpus; \
	    seeds=$$([ -d fuzz/corpus/$$name ] && echo fuzz/corpus/$$name || true); \
	    echo "== fuzz: $$name for $(FUZZ_SECONDS) s"; \
	    if ! $$exe -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
	            -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$name- $$corpus $$seeds >$(FUZZ_BUILD)/$$name.log 2>&1; then \
	        tail -n 60 $(FUZZ_BUILD)/$$name.log; echo "== fuzz: $$name FAILED (log: $(FUZZ_BUILD)/$$name.log)"; exit 1; \
	    fi; \
	    runs=$$(sed -n 's/^stat::number_of_executed_units: *//p' $(FUZZ_BUILD)/$$name.log); \
	    echo "== fuzz: $$name ran $${runs:-?} inputs, no crash, corpus $$(ls $$corpus | wc -l) files"; \
	done

# The committed HEAD, cloned into a fresh minimal Debian system of RELEASE
# (cached in build-fresh/<release>/base.tar) and tested there with `make
# test`: proves that scripts/install-deps installs everything a new machine
# of that release lacks.
test-fresh:
	@scripts/test-fresh --release $(RELEASE)

# Release build of the benchmarks and what they link (the test support
# library among it, so the tests are configured but not built); every
# executable named bench_* runs.
bench: deps
	@$(call headless_env,$(BENCH_BUILD)) \
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DQRL_BUILD_TESTS=ON -DQRL_BUILD_BENCH=ON >/dev/null; \
	cmake --build $(BENCH_BUILD)/bench -j $(JOBS); \
	benches=$$(find $(BENCH_BUILD)/bench -mindepth 2 -maxdepth 2 -type f -perm -u+x -name 'bench_*' | sort); \
	if [ -z "$$benches" ]; then echo "bench: no benchmarks built"; exit 1; fi; \
	[ -t 1 ] || export BENCHMARK_COLOR=false; \
	for exe in $$benches; do echo "== $$exe"; $$exe; echo; done

# Start-up counted in instructions rather than timed: the same figures as
# bench_startup's under X, unmoved by the machine's load.
bench-instructions: deps
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DQRL_BUILD_TESTS=ON -DQRL_BUILD_BENCH=ON >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target quorlscope_gui startup_minimal_app
	bench/startup/instructions $(BENCH_BUILD)/libexec/quorlscope/quorlscope-gui $(BENCH_BUILD)/bench/startup/startup_minimal_app

screenshot: build
	@scripts/install-deps --screenshot
	@mkdir -p docs
	xvfb-run -a -s "-screen 0 1024x768x24" scripts/screenshot $(APP) docs/screenshot.png $(SCREENSHOT_DELAY) $(SCREENSHOT_ARGS)

# The desktop's caches of MIME types, desktop entries and icons, refreshed
# after installing into a live prefix (not into a DESTDIR staging folder);
# a cache whose tool is missing is left alone.
define refresh_desktop_caches
	if [ -z "$${DESTDIR:-}" ]; then \
	    share="$(PREFIX)/share"; \
	    if command -v update-mime-database >/dev/null && [ -d "$$share/mime/packages" ]; then update-mime-database "$$share/mime"; fi; \
	    if command -v update-desktop-database >/dev/null && [ -d "$$share/applications" ]; then update-desktop-database -q "$$share/applications"; fi; \
	    if command -v gtk-update-icon-cache >/dev/null && [ -f "$$share/icons/hicolor/index.theme" ]; then gtk-update-icon-cache -q -t "$$share/icons/hicolor"; fi; \
	fi
endef

install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)" --strip
	@$(refresh_desktop_caches)

# Removes exactly the files an install would put into PREFIX: the build
# installs into a scratch folder to learn their names. The program's own
# folder (libexec/quorlscope) goes too once it is empty.
uninstall: build
	@stage=$$(mktemp -d); trap 'rm -rf "$$stage"' EXIT; \
	DESTDIR= cmake --install $(BUILD) --prefix "$$stage" >/dev/null; \
	cd "$$stage"; \
	find . -type f -printf '%P\n' | sort | while read -r file; do \
	    target="$${DESTDIR:-}$(PREFIX)/$$file"; \
	    if [ -e "$$target" ]; then rm -f "$$target" && echo "removed $$target"; fi; \
	done; \
	find . -depth -type d -name quorlscope -printf '%P\n' | while read -r folder; do \
	    target="$${DESTDIR:-}$(PREFIX)/$$folder"; \
	    if rmdir "$$target" 2>/dev/null; then echo "removed $$target/"; fi; \
	done
	@$(refresh_desktop_caches)

# The .deb of what `make install` installs, with its dependencies from the
# shared libraries the program links (dpkg-shlibdeps).
package: build
	@rm -f $(BUILD)/quorlscope_*.deb
	cd $(BUILD) && cpack -G DEB
	@ls -l $(BUILD)/quorlscope_*.deb

# lupdate over the interface files, the platform's dialogs and the program's
# texts (scripts/translations); new texts arrive unfinished, unused ones go.
# Then the check lists what is left to translate, without failing.
translations: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQRL_BUILD_TESTS=ON >/dev/null
	cmake --build $(BUILD) --target update_translations
	@$(BUILD)/translations/check || true

check-translations: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQRL_BUILD_TESTS=ON >/dev/null
	@$(BUILD)/translations/check

check-layers:
	@scripts/check-layers

format:
	@scripts/install-deps --format
	git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
