# The newcomer's entry points. `make run` and `make test` install what is missing first.
BUILD      ?= build
SAN_BUILD  ?= build-asan
JOBS       ?= $(shell nproc)

.PHONY: setup build run test install clean

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

# PREFIX (default /usr/local) and DESTDIR are honoured: make install PREFIX=$$HOME/.local
install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix "$(PREFIX)")

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
