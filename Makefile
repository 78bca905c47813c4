# The README's commands. Each one does all of its own set-up.
BUILD_DIR ?= build
FUZZ_DIR ?= build-fuzz
SAN_DIR ?= build-san
FUZZ_SECONDS ?= 60
JOBS ?= 2

.PHONY: run gallery test build configure setup bench deb test-deb check-deb clean fuzz fuzz-build sanitize

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

# Every test, and the program driven by real keys, built with AddressSanitizer
# and UndefinedBehaviorSanitizer; any finding fails (see the README).
sanitize: setup
	cmake -S . -B $(SAN_DIR) -DONDASORT_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DONDASORT_BUILD_BENCH=OFF
	cmake --build $(SAN_DIR) -j$(JOBS)
	cd $(SAN_DIR) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/sanitize.supp:print_suppressions=0 \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --output-on-failure -j$(JOBS)
	scripts/sanitize-drive.sh $(SAN_DIR)

bench: build
	for b in $(BUILD_DIR)/bin/bench_*; do $$b; done

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR) $(SAN_DIR)
