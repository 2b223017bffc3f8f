# The newcomer's entry points. `make run` and `make test` install what is missing first.
BUILD      ?= build
SAN_BUILD  ?= build-asan
JOBS       ?= $(shell nproc)

.PHONY: setup build run test test-asan fuzz install package check-package clean

setup:
	@scripts/setup

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: setup $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# The window looks for setlist.ico and logo.png in its working directory: start it beside them.
run: build
	cd app/resources && "$(abspath $(BUILD))/app/tallyform"

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=$${QT_QPA_PLATFORM:-offscreen} ctest --output-on-failure -j $(JOBS)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer (clang 14).
test-asan: setup
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang-14 \
	  -DCMAKE_CXX_COMPILER=clang++-14 -DTALLYFORM_SANITIZE=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && QT_QPA_PLATFORM=$${QT_QPA_PLATFORM:-offscreen} \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ctest --output-on-failure -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS each (default 20 minutes).
FUZZ_SECONDS ?= 1200
fuzz: setup
	scripts/fuzz $(FUZZ_SECONDS)

# PREFIX (default /usr/local) and DESTDIR are honoured: make install PREFIX=$$HOME/.local
install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix "$(PREFIX)")

# The Debian package of the build, $(BUILD)/tallyform_VERSION_ARCH.deb (CPack's DEB generator).
package: build
	cd $(BUILD) && cpack -G DEB

# The package validated, linted and installed into a throw-away Debian root, where it runs.
check-package: setup
	BUILD=$(BUILD) scripts/check-package

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
