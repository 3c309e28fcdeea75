# The two first commands of the README: `make run` and `make test`. Each installs what is missing.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
PYTHON ?= /usr/bin/python3

.PHONY: all deps configure build run test test-asan fuzz assets contact-sheet format install uninstall deb clean

all: build

deps:
	@tools/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/tintorix

test: configure
	tools/make-test.sh $(BUILD) $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTINTORIX_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS) -E '^test_e2e'
	@if [ -x tools/bench-soak.sh ]; then tools/bench-soak.sh $(ASAN_BUILD); fi

fuzz:
	@tools/install-deps.sh clang libclang-rt-14-dev
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	    -DCMAKE_CXX_COMPILER=clang++ -DTINTORIX_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@tools/run-fuzzers.sh $(FUZZ_BUILD)

assets:
	@tools/install-deps.sh python3-pil python3-numpy fonts-dejavu-core espeak-ng sox pocketsphinx pocketsphinx-en-us
	$(PYTHON) tools/art/gen_bitmaps.py
	$(PYTHON) tools/sounds/gen_sounds.py
	$(PYTHON) tools/sounds/check_sounds.py --voices
	$(PYTHON) tools/music/gen_music.py
	$(PYTHON) tools/icons/gen_icons.py

contact-sheet:
	$(PYTHON) tools/art/contact_sheet.py

format:
	find base gfx input audio round scenes shell platform bench tests -name '*.cpp' -o -name '*.h' | xargs clang-format -i

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

# The package lands in $(BUILD), checked by lintian.
deb: build
	@tools/install-deps.sh dpkg-dev lintian
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error,warning $(BUILD)/tintorix_*.deb

uninstall:
	@if [ -f $(BUILD)/install_manifest.txt ]; then sed 's|^|$(DESTDIR)|' $(BUILD)/install_manifest.txt | xargs -r rm -fv; \
	else echo "nothing installed from $(BUILD)"; fi

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
