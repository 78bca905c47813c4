# The README's commands. Each one does all of its own set-up.
BUILD_DIR ?= build
JOBS ?= 2

.PHONY: run gallery test build setup bench deb test-deb clean

run: build
	$(BUILD_DIR)/bin/Ondasort

gallery: build
	$(BUILD_DIR)/bin/ondasort-gallery

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

build: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j$(JOBS)

setup:
	scripts/setup.sh

# A Debian package, build/ondasort_<version>_<arch>.deb, installing under /usr.
deb: build
	cd $(BUILD_DIR) && cpack -G DEB

# Installs that package system-wide and runs the installed program (needs root or sudo).
test-deb: deb
	scripts/test-package.sh $$(ls -t $(BUILD_DIR)/ondasort_*.deb | head -n 1)

bench: build
	for b in $(BUILD_DIR)/bin/bench_*; do $$b; done

clean:
	rm -rf $(BUILD_DIR)
