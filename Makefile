# The two commands of the README:
#   make run   installs what is missing, builds and starts Kivara
#   make test  installs what is missing, builds and runs every test headless
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench screenshots clean

all: build

deps:
	@bash scripts/install-deps

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: $(BUILD_DIR)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The log "logfile.txt" is written to the working directory, so start in bin/.
run: build
	cd $(BUILD_DIR)/bin && ./kivara

# One CTest run under a virtual X server: tests labelled x11 use its display,
# the others set the offscreen platform themselves.
test: build
	cd $(BUILD_DIR) && xvfb-run -a -s "-screen 0 1600x1200x24" \
	  ctest --output-on-failure --timeout 600 -j $(JOBS)

bench: build
	cd $(BUILD_DIR) && for b in bench/bench_*; do [ -x "$$b" ] && echo "== $$b" && "$$b"; done; true

# Every screen of the interface as a PNG in $(BUILD_DIR)/screenshots/ (SCREEN=part of a name for one).
screenshots: build
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kivara_screenshots
	tools/screenshots/shoot.sh $(BUILD_DIR)/tools/screenshots/kivara_screenshots $(BUILD_DIR)/screenshots $(SCREEN)

clean:
	rm -rf $(BUILD_DIR)
