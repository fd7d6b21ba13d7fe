# The commands of the project. Each installs what it needs first (scripts/deps.sh).
JOBS ?= $(shell nproc)
GENERATOR := -G Ninja

.PHONY: deps build run test bench fuzz install package clean

deps:
	@bash scripts/deps.sh

build: deps
	cmake -S . -B build $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build -j $(JOBS)

run: build
	@bash scripts/run-viewer.sh build/bin/kav-data-viewer build/screenshot.png

test: deps
	cmake -S . -B build-asan $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DKAV_SANITIZE=ON -DKAV_BENCH=OFF
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# Installs the viewer, kav, the help, the sample data and the desktop entry under PREFIX.
PREFIX ?= /usr/local
install: build
	cmake --install build --prefix $(PREFIX)

# A Debian package in build/, installed with: sudo apt install ./build/kav-data-viewer_*.deb
package: build
	cd build && cpack -G DEB

bench: build
	@for b in build/bin/bench_*; do echo "== $$b"; "$$b" --benchmark_min_time=0.2; done

# Runs every fuzz target for FUZZ_SECONDS (default 30), starting from real data and the seeds in
# fuzz/seeds; a failing target does not stop the others, and every finding (crash-*, leak-*,
# timeout-*, oom-* in build-fuzz/artifacts) is listed at the end.
FUZZ_SECONDS ?= 30
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAV_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS)
	@bash scripts/fuzz.sh build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build build-asan build-fuzz
