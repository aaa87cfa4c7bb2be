# Velkar: `make run` builds the engine alone and starts it (make, g++ or
# clang++, and CMake are all it needs); `make test` sets up what the tests
# need, builds everything and runs every test; `make bench` runs the
# benchmarks.
JOBS ?= 4
RELEASE := build/release
ASAN := build/asan
SETUP := tools/setup-deps.sh
# The builds below run make again through CMake; their directory changes are noise.
MAKEFLAGS += --no-print-directory

.PHONY: all release asan run test bench clean

all: release

# Whatever the installed libraries allow: the engine, and the tests and
# benchmarks when GoogleTest and Google Benchmark are there.
release:
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(RELEASE) -j $(JOBS)

asan:
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DVELKAR_SANITIZE=ON >/dev/null
	cmake --build $(ASAN) -j $(JOBS) --target velkar_unit_tests

# Only the engine's own build shows before the engine starts.
run:
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DVELKAR_QUIET_SKIPS=ON >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS) --target velkar
	@./$(RELEASE)/velkar

test:
	$(SETUP)
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release "-DVELKAR_REQUIRE=tests;benchmarks" >/dev/null
	cmake --build $(RELEASE) -j $(JOBS)
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DVELKAR_SANITIZE=ON -DVELKAR_REQUIRE=tests >/dev/null
	cmake --build $(ASAN) -j $(JOBS) --target velkar_unit_tests
	cd $(RELEASE) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS) -L unit

bench:
	$(SETUP) cmake g++ libbenchmark-dev
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DVELKAR_REQUIRE=benchmarks >/dev/null
	cmake --build $(RELEASE) -j $(JOBS) --target velkar_bench
	./$(RELEASE)/velkar_bench

clean:
	rm -rf build
