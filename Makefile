# Two commands do everything on a fresh Debian machine: `make demo` and `make test`.
BUILD ?= build
JOBS ?= 2

.PHONY: all deps build demo test clean

all: build

deps:
	scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DQUILLBIT_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

# Converts copies of the bundled sprites, so the tracked examples stay untouched.
demo: build
	rm -rf $(BUILD)/demo
	mkdir -p $(BUILD)/demo
	cp examples/* $(BUILD)/demo/
	cd $(BUILD)/demo && ../quillbit *
	@echo "Headers written to $(BUILD)/demo/"

test: build web
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-sanitize
	$(MAKE) test-windows
	$(MAKE) test-web

# The Windows programs, cross-built with MinGW-w64 into build-windows/ and tested through
# Wine; their headers are compared with those of $(BUILD)/quillbit.
.PHONY: test-windows
test-windows: build
	JOBS=$(JOBS) scripts/test-windows.sh $(BUILD)

# The browser page, build-web/quillbit.html: the core, the picture reader and quillbit-check's
# logic in WebAssembly (Debian's emscripten) in one file that works offline. test-web drives
# it in Debian's chromium against $(BUILD)/quillbit.
.PHONY: web test-web
web:
	JOBS=$(JOBS) scripts/build-web.sh $(BUILD)/quillbit
test-web: build
	JOBS=$(JOBS) scripts/test-web.sh $(BUILD)

# The npm package, build-web/quillbit-<version>.tgz: quillbit and quillbit-check on the same
# WebAssembly core for Node 18 or later (macOS and any other system), with Blitview.h, the
# palette files, the CMake package and the module API convertPicture(). It is made with the
# page; test-web installs it into a scratch prefix and runs its suites.
.PHONY: npm
npm: web
	@ls build-web/quillbit-*.tgz

# The whole suite again under ASan, UBSan and _GLIBCXX_ASSERTIONS. Full stacks through
# the uninstrumented picture libraries let cmake/lsan.supp name the one library leak;
# an allocation over 1 GB returns null, as under the decoding cap of a normal build.
SANITIZE_ENV = ASAN_OPTIONS=fast_unwind_on_malloc=0:allocator_may_return_null=1:max_allocation_size_mb=1024:exitcode=86 \
	UBSAN_OPTIONS=print_stacktrace=1:exitcode=86 LSAN_OPTIONS=suppressions=$(CURDIR)/cmake/lsan.supp
.PHONY: test-sanitize
test-sanitize: deps
	cmake -S . -B build-sanitize -DQUILLBIT_WERROR=ON -DQUILLBIT_SANITIZE=ON \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS under libFuzzer (clang); findings go to build-fuzz/findings/.
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz:
	scripts/install-deps.sh clang libclang-rt-14-dev
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DQUILLBIT_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS) --target quoted_list_fuzzer header_writer_fuzzer \
		picture_intake_fuzzer header_reader_fuzzer
	fuzz/run_fuzzers.sh build-fuzz $(FUZZ_SECONDS)

# The two Debian packages, from the same build: $(BUILD)/quillbit_<version>_<arch>.deb (the
# terminal program) and $(BUILD)/quillbit-desktop_<version>_<arch>.deb.
.PHONY: package
package: build web
	cmake --build $(BUILD) --target package

# The Windows zip and installer (NSIS), cross-built with MinGW-w64 in its own tree:
# $(WINDOWS_BUILD)/quillbit-<version>-win64.zip and quillbit-<version>-win64-setup.exe.
WINDOWS_BUILD ?= build-windows
.PHONY: package-windows
package-windows: web
	scripts/install-deps.sh g++-mingw-w64-x86-64-posix nsis
	JOBS=$(JOBS) scripts/picture-libraries.sh mingw-w64-x86_64 $(WINDOWS_BUILD)/third-party
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DQUILLBIT_WERROR=ON
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target package

# quillbit against ImageMagick, netpbm, Pillow and the cp floor, plus stage
# micro-benchmarks; Release build in build-bench/. Not part of `make test`.
.PHONY: bench
bench:
	bench/bench.sh build-bench $(JOBS)

clean:
	rm -rf $(BUILD)
