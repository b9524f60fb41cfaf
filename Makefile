# The two commands of the README:
#   make run   installs what is missing, builds and starts Kivara: on the user's
#              ZBrush when the Wine prefix holds one, otherwise on the demo ZBrush
#   make test  installs what is missing, builds and runs every test headless
# And: make demo (Kivara on the demo ZBrush, always), make demo-data (the demo
# made anew in build/demo, without starting Kivara), make fuzz (the fuzz targets
# built in build-fuzz/ and each run for FUZZ_TIME seconds; FUZZ_TARGETS picks some,
# FUZZ_MERGE=1 minimises the kept corpora afterwards).
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run demo demo-data test bench screenshots fuzz clean

all: build

deps:
	@bash scripts/install-deps

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: $(BUILD_DIR)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# scripts/run says which installation it starts on.
run: build
	@BUILD_DIR=$(BUILD_DIR) bash scripts/run

demo: build
	@BUILD_DIR=$(BUILD_DIR) bash scripts/run-demo

demo-data: build
	@BUILD_DIR=$(BUILD_DIR) bash scripts/run-demo --prepare --fresh

# Tests labelled x11 start an X server of their own (cmake/KivaraTesting.cmake),
# the others use the offscreen platform.
test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 600 -j $(JOBS)

bench: build
	cd $(BUILD_DIR) && for b in bench/bench_*; do [ -x "$$b" ] && echo "== $$b" && "$$b"; done; true

# Every screen of the interface as a PNG in $(BUILD_DIR)/screenshots/ (SCREEN=part of a name for one).
screenshots: build
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kivara_screenshots
	tools/screenshots/shoot.sh $(BUILD_DIR)/tools/screenshots/kivara_screenshots $(BUILD_DIR)/screenshots $(SCREEN)

FUZZ_TIME ?= 180
FUZZ_TARGETS ?=
fuzz: deps
	FUZZ_TIME=$(FUZZ_TIME) JOBS=$(JOBS) bash scripts/run-fuzzers $(if $(FUZZ_MERGE),--merge) $(FUZZ_TARGETS)

clean:
	rm -rf $(BUILD_DIR)
