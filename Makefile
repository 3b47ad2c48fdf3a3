# The two commands of this project:
#   make demo   installs what is missing, builds, prints a job through the virtual printer
#   make test   installs what is missing, builds natively, with sanitizers and for
#               Windows, and runs every test natively, under the sanitizers and under wine;
#               the Windows libraries (64- and 32-bit) also pass scripts/check-dll.sh
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
NATIVE := $(BUILD)/native
ASAN := $(BUILD)/asan
TSAN := $(BUILD)/tsan
# The programs whose tests run threads: they also run under ThreadSanitizer.
THREADED_TESTS := zobelso_base_tests zobelso_printer_tests zobelso_sim_tests zobelso_platform_tests zobelso_com_tests
WIN := $(BUILD)/win
# The 32-bit library: built and checked statically only (no 32-bit code runs here).
WIN32DLL := $(BUILD)/win32
CMAKE_GEN := -G Ninja

# libzint for the Windows libraries: install-deps.sh fetches the distribution's
# source package once, build-zint.sh cross-builds it once per target.
ZINT := $(BUILD)/zint
ZINT_SOURCE := $(CURDIR)/$(ZINT)/source
ZINT_WIN := $(CURDIR)/$(ZINT)/x86_64
ZINT_WIN32 := $(CURDIR)/$(ZINT)/i686

FUZZ := $(BUILD)/fuzz
FUZZ_SECONDS ?= 30

.PHONY: demo test fuzz bench deps deps-native native asan tsan windows windows32 test-native test-asan test-tsan test-windows test-windows32 clean

demo: deps-native native
	$(NATIVE)/demo/zobelso-demo

# The last line is the count of the Windows test cases run under wine.
test: deps test-native test-asan test-tsan test-windows32 test-windows

deps:
	@ZOBELSO_ZINT_SOURCE=$(ZINT_SOURCE) scripts/install-deps.sh all

deps-native:
	@scripts/install-deps.sh native

native:
	cmake -S . -B $(NATIVE) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

asan:
	cmake -S . -B $(ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DZOBELSO_SANITIZE=ON >/dev/null
	cmake --build $(ASAN) -j $(JOBS)

# The installer also ships the 32-bit library: it is built only when that exists
# (make windows32 first, as make test does).
windows:
	@JOBS=$(JOBS) scripts/build-zint.sh $(CURDIR)/cmake/mingw-w64-x86_64.cmake $(ZINT_WIN) $(ZINT_SOURCE)
	cmake -S . -B $(WIN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake -DZOBELSO_ZINT_PREFIX=$(ZINT_WIN) \
	  -DZOBELSO_NATIVE_VIRTUAL_PRINTER=$(CURDIR)/$(NATIVE)/sim/zobelso-virtual-printer \
	  -DZOBELSO_X86_DLL=$(CURDIR)/$(WIN32DLL)/so/ZOBELSO.dll >/dev/null
	cmake --build $(WIN) -j $(JOBS)

windows32:
	@JOBS=$(JOBS) scripts/build-zint.sh $(CURDIR)/cmake/mingw-w64-i686.cmake $(ZINT_WIN32) $(ZINT_SOURCE)
	cmake -S . -B $(WIN32DLL) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DZOBELSO_TESTS=OFF \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-i686.cmake -DZOBELSO_ZINT_PREFIX=$(ZINT_WIN32) >/dev/null
	cmake --build $(WIN32DLL) -j $(JOBS) --target ZOBELSO

test-native: native
	@echo "== native tests =="
	ctest --test-dir $(NATIVE) -j $(JOBS) --output-on-failure

test-asan: asan
	@echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN) -j $(JOBS) --output-on-failure

tsan:
	cmake -S . -B $(TSAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOBELSO_TSAN=ON >/dev/null
	cmake --build $(TSAN) -j $(JOBS) --target $(THREADED_TESTS)

test-tsan: tsan
	@echo "== threaded tests under ThreadSanitizer =="
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  ctest --test-dir $(TSAN) -j $(JOBS) --output-on-failure -L '$(shell echo $(THREADED_TESTS) | tr ' ' '|')'

# The prefix is made once here: test programs started in parallel would
# otherwise race to create it.
test-windows: windows
	@echo "== Windows tests under wine =="
	@scripts/check-dll.sh $(WIN)/so/ZOBELSO.dll pe32+
	ZOBELSO_WINEPREFIX=$(CURDIR)/$(WIN)/wineprefix cmake/wine-run.sh --prefix-only
	ZOBELSO_WINEPREFIX=$(CURDIR)/$(WIN)/wineprefix ctest --test-dir $(WIN) -j $(JOBS) --output-on-failure
	@scripts/wine-test-counts.sh $(WIN)

test-windows32: windows32
	@echo "== static checks of the 32-bit Windows library =="
	@scripts/check-dll.sh $(WIN32DLL)/so/ZOBELSO.dll pe32

# Benchmarks of this machine (idle polling CPU, memory of an open device, send throughput,
# formatting, the COM layer's cost per call, an image made printer raster).
bench: deps-native native
	$(NATIVE)/bench/zobelso-bench-core
	$(NATIVE)/bench/zobelso-bench-format
	$(NATIVE)/bench/zobelso-bench-com
	$(NATIVE)/bench/zobelso-bench-bitmap

# Every fuzz target for FUZZ_SECONDS, from the seeds in fuzz/ when there are any.
fuzz: deps-native
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZOBELSO_FUZZ=ON -DZOBELSO_TESTS=OFF >/dev/null
	cmake --build $(FUZZ) -j $(JOBS)
	@scripts/run-fuzzers.sh $(FUZZ) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
