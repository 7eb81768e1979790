# Three CMake trees: the portable core with its tests and host tools (native);
# the shipped 32-bit Windows programs (win32); and, on machines whose kernel runs
# 64-bit user code only, an x86_64 build of the same sources for the Wine tests (win64).
BUILD  ?= build
NATIVE := $(BUILD)/native
JOBS   ?= $(shell nproc)
ABS_NATIVE = $(abspath $(NATIVE))

.PHONY: all deps native win32 win64 wine-tree test test-native test-wine demo bench screenshots clean

all: win32

deps:
	@tools/install-deps.sh

native: deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVRIX_SANITIZE=ON >/dev/null
	cmake --build $(NATIVE) -j$(JOBS)

# $(1): tree name, $(2): MinGW target architecture
define windows_tree
	cmake -S . -B $(BUILD)/$(1) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-$(2).cmake \
	      -DCMAKE_BUILD_TYPE=Release -DKAVRIX_HOST_TOOLS=$(ABS_NATIVE) >/dev/null
	cmake --build $(BUILD)/$(1) -j$(JOBS)
endef

win32: native
	$(call windows_tree,win32,i686)

win64: native
	$(call windows_tree,win64,x86_64)

# The tree whose programs this machine's Wine can run.
wine-tree: native
	@if [ "$$(tests/wine/bits.sh)" = 64 ]; then $(MAKE) --no-print-directory win64; fi

test: test-native test-wine

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure -j$(JOBS)

test-wine: win32 wine-tree
	tests/wine/session.sh $(BUILD) sh -c 'ctest --test-dir $(BUILD)/win$$KAVRIX_WINE_BITS --output-on-failure'

# Benchmarks print figures and ratios against baselines run side by side; they are
# never part of `make test`.
bench: win32 wine-tree
	cmake -S . -B $(BUILD)/bench -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(BUILD)/bench -j$(JOBS)
	tests/wine/session.sh $(BUILD) tests/bench/run.sh $(abspath $(BUILD))

screenshots: win32 wine-tree
	tests/wine/session.sh $(BUILD) sh -c 'tools/screenshots/run.sh $(abspath $(BUILD))/win$$KAVRIX_WINE_BITS $(abspath $(BUILD))/screenshots'

demo: win32 wine-tree
	tests/wine/session.sh $(BUILD) sh -c 'tools/demo.sh $(abspath $(BUILD))/win$$KAVRIX_WINE_BITS'

clean:
	rm -rf $(BUILD)
