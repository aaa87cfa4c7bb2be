# Velkar: `make run` builds the release binary and starts it; `make test`
# builds and runs every test; `make bench` runs the benchmarks.
JOBS ?= 4
RELEASE := build/release
ASAN := build/asan

.PHONY: all release asan run test bench clean

all: release

release:
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DVELKAR_BENCH=ON >/dev/null
	cmake --build $(RELEASE) -j $(JOBS)

asan:
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DVELKAR_SANITIZE=ON >/dev/null
	cmake --build $(ASAN) -j $(JOBS) --target velkar_unit_tests

run: release
	./$(RELEASE)/velkar

test: release asan
	cd $(RELEASE) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS) -L unit

bench: release
	./$(RELEASE)/velkar_bench

clean:
	rm -rf build
