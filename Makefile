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

clean:
	rm -rf $(BUILD)
