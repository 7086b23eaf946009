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

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The Debian package, from the same build: $(BUILD)/quillbit_<version>_<arch>.deb.
.PHONY: package
package: build
	cmake --build $(BUILD) --target package

# The Windows zip, cross-built with MinGW-w64 in its own tree:
# $(WINDOWS_BUILD)/quillbit-<version>-win64.zip.
WINDOWS_BUILD ?= build-windows
.PHONY: package-windows
package-windows:
	scripts/install-deps.sh g++-mingw-w64-x86-64-posix
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DQUILLBIT_WERROR=ON
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target package

clean:
	rm -rf $(BUILD)
