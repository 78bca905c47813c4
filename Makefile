# The README's commands. Each one does all of its own set-up.
BUILD_DIR ?= build
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= 2

.PHONY: run gallery test build configure setup bench deb test-deb check-deb clean fuzz fuzz-build

# Builds only the program and its player module, not the tests and benchmarks.
run: configure
	cmake --build $(BUILD_DIR) -j$(JOBS) --target Ondasort
	$(BUILD_DIR)/bin/Ondasort

gallery: configure
	cmake --build $(BUILD_DIR) -j$(JOBS) --target ondasort-gallery
	$(BUILD_DIR)/bin/ondasort-gallery

# The fuzz harnesses run once over their corpus and past crashers as well.
test: build fuzz-build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)
	cd $(FUZZ_DIR) && ctest --output-on-failure -j$(JOBS)

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

configure: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release

setup:
	scripts/setup.sh

# A Debian package, build/ondasort_<version>_<arch>.deb, installing under /usr.
deb: build
	cd $(BUILD_DIR) && cpack -G DEB

# Debian's checks on that package: lintian (pedantic), and the desktop entry
# and AppStream metadata it ships.
check-deb: deb
	scripts/check-package.sh $$(ls -t $(BUILD_DIR)/ondasort_*.deb | head -n 1)

# Installs that package system-wide and runs the installed program (needs root or sudo).
test-deb: deb
	scripts/test-package.sh $$(ls -t $(BUILD_DIR)/ondasort_*.deb | head -n 1)

# The libFuzzer harnesses, built by clang in a folder of their own.
fuzz-build: setup
	cmake -S tests/fuzz -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_DIR) -j$(JOBS)

# Each harness fuzzes for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600).
fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

bench: build
	for b in $(BUILD_DIR)/bin/bench_*; do $$b; done

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR)
