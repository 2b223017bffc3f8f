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

run: build
	cd app/resources && ../../$(BUILD)/app/tallyform

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=$${QT_QPA_PLATFORM:-offscreen} ctest --output-on-failure -j $(JOBS)

install: build
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
