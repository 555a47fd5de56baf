# Entry points. `make test` and `make demo` set up a fresh Debian 12 machine themselves (as root).

BUILD_DIR ?= build
ASAN_BUILD_DIR ?= build-asan
TSAN_BUILD_DIR ?= build-tsan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQBR20G_WERROR=ON
# Sanitizer builds without optimisation: instrumented code compiles two to three times faster
# at -O0 than at -O1, and the tests mostly wait on the wire and on timers.
SANITIZER_CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_CXX_FLAGS_SANITIZE="-O0 -g1" \
                         -DQBR20G_WERROR=ON
# How long `make fuzz` runs each fuzz target, in seconds.
FUZZ_SECONDS ?= 600

# Everything the build, the tests and the demo need, all from Debian.
PACKAGES := cmake g++ make ninja-build pkg-config qt6-base-dev libpcap-dev googletest \
            libgtest-dev libgmock-dev iproute2 fonts-liberation clang libclang-rt-14-dev \
            libcap2-bin dpkg-dev file lintian desktop-file-utils tshark util-linux \
            libcli11-dev nlohmann-json3-dev weston qt6-wayland at-spi2-core python3-pyatspi \
            dbus-daemon xvfb xauth qt6-tools-dev qt6-l10n-tools qt6-translations-l10n gettext \
            appstream
# The Ansible collection's tests: ansible-core and the linters of its sanity run, without what
# they recommend (ansible-core recommends the whole community package, pylint a GUI toolkit).
ANSIBLE_PACKAGES := ansible-core python3-venv python3-voluptuous yamllint python3-pycodestyle pylint

# Any report fails the test it comes from: ASan and UBSan abort on their first report (the
# build has no recovery), LeakSanitizer fails the program at exit, TSan stops at its first.
ASAN_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1 \
            UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
            LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0
# The TSan build runs with them too: it runs the artwork generator (Qt image code, see
# tsan.supp) and lists the tests.
TSAN_ENV := TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/gui/tsan.supp
# TSan needs a fixed memory layout; without address randomisation it works whatever the
# kernel's mmap_rnd_bits.
TSAN_RUN := setarch $(shell uname -m) -R
# Under TSan: the link and device suites (ticker and stopper threads), the widget suites (page
# workers, queued calls), the whole wizard over veth, and the command line's batches (workers
# on links of their own, discovery on every adapter at once, the signal thread's wind-down).
TSAN_LABELS := unit|gui
TSAN_NETNS_TESTS := ^((WizardOverVeth|DeviceListOverVeth|SaveOverVeth|FaultOverVeth)\.|CliOverVeth\.ALostHelper|FleetOverVeth\.ABatch)
# Not under TSan: the case that starts a real browser hands the fallback's work to Qt's own
# thread pool (not built with TSan), which TSan then reports as a race on the work's captures;
# the case checks descriptors, not threads, and runs in the plain and ASan suites.
TSAN_NETNS_EXCLUDED := TheBrowserStartedByTheFinishPage
CTEST := ctest --output-on-failure --timeout 600 -j $(JOBS)
# The suites over veth mostly wait on the bridges' timers (a discovery's quiet window, a
# survey's scan pause) and use about one core between them: they run twice as many at once,
# apart from the suites that keep the cores busy.
WAIT_LABELS := netns|ansible
WAIT_CTEST := ctest --output-on-failure --timeout 600 -j $(shell echo $$(( $(JOBS) * 2 )))

.PHONY: all deps build test test-asan test-tsan fuzz bench demo clean

all: build

deps:
	@tools/install-deps.sh $(PACKAGES)
	@tools/install-deps.sh --no-recommends $(ANSIBLE_PACKAGES)

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	$(WAIT_CTEST) --test-dir $(BUILD_DIR) -L '$(WAIT_LABELS)'
	$(CTEST) --test-dir $(BUILD_DIR) -LE '$(WAIT_LABELS)'
	$(MAKE) --no-print-directory test-asan test-tsan

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, but for the package
# tests, which check the .deb of the plain build rather than code, and the Ansible collection's,
# which check Python and the plain qbr20g-cli that the command line's own suite covers.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD_DIR) -G Ninja $(SANITIZER_CMAKE_FLAGS) \
	  -DQBR20G_SANITIZE_ADDRESS=ON -DQBR20G_SANITIZE_UNDEFINED=ON
	cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	$(ASAN_ENV) $(WAIT_CTEST) --test-dir $(ASAN_BUILD_DIR) -L netns
	$(ASAN_ENV) $(CTEST) --test-dir $(ASAN_BUILD_DIR) -LE 'netns|package|ansible'

# The suites where threads meet, under ThreadSanitizer.
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD_DIR) -G Ninja $(SANITIZER_CMAKE_FLAGS) -DQBR20G_SANITIZE_THREAD=ON
	$(TSAN_ENV) cmake --build $(TSAN_BUILD_DIR) -j $(JOBS) --target qbr20g_tsan_suites
	$(TSAN_ENV) $(TSAN_RUN) $(CTEST) --test-dir $(TSAN_BUILD_DIR) -L '$(TSAN_LABELS)'
	$(TSAN_ENV) $(TSAN_RUN) $(WAIT_CTEST) --test-dir $(TSAN_BUILD_DIR) -L netns -R '$(TSAN_NETNS_TESTS)' \
	  -E '$(TSAN_NETNS_EXCLUDED)'

# Each fuzz target for FUZZ_SECONDS; the corpus grows in the build tree.
fuzz: build
	tests/fuzz/run-fuzz.sh $(BUILD_DIR) $(FUZZ_SECONDS)

# The benchmark table (as root: the figures over veth run in namespaces of their own).
bench: build
	bench/run.sh $(BUILD_DIR)

demo: build
	BUILD_DIR=$(abspath $(BUILD_DIR)) tools/demo.sh

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR) $(TSAN_BUILD_DIR)

.PHONY: install package

# Installs into PREFIX (default /usr/local) and gives the binary cap_net_raw=ep (as root).
install: build
	cmake --install $(BUILD_DIR) --strip $(if $(PREFIX),--prefix $(PREFIX))

# The Debian package: $(BUILD_DIR)/package/qbr20g-setup_<version>_<arch>.deb
package: build
	cmake --build $(BUILD_DIR) --target package
