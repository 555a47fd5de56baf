# Entry points. `make test` and `make demo` set up a fresh Debian 12 machine themselves (as root).

BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQBR20G_WERROR=ON

# Everything the build, the tests and the demo need, all from Debian.
PACKAGES := cmake g++ make ninja-build pkg-config qt6-base-dev libpcap-dev googletest \
            libgtest-dev libgmock-dev iproute2 fonts-liberation clang libclang-rt-14-dev \
            libcap2-bin dpkg-dev file lintian desktop-file-utils tshark

.PHONY: all deps build test demo clean

all: build

deps:
	@tools/install-deps.sh $(PACKAGES)

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --timeout 600 -j $(JOBS)

demo: build
	BUILD_DIR=$(abspath $(BUILD_DIR)) tools/demo.sh

clean:
	rm -rf $(BUILD_DIR)

.PHONY: install package

# Installs into PREFIX (default /usr/local) and gives the binary cap_net_raw=ep (as root).
install: build
	cmake --install $(BUILD_DIR) --strip $(if $(PREFIX),--prefix $(PREFIX))

# The Debian package: $(BUILD_DIR)/package/qbr20g-setup_<version>_<arch>.deb
package: build
	cmake --build $(BUILD_DIR) --target package
