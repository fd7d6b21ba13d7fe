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
# fuzz/seeds. Whatever a run finds (crash-*, leak-*, timeout-*, oom-*) lands in build-fuzz/artifacts.
FUZZ_SECONDS ?= 30
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAV_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS)
	@mkdir -p build-fuzz/artifacts build-fuzz/corpus/fuzz_index build-fuzz/corpus/fuzz_ndx build-fuzz/corpus/fuzz_dosedata
	@cp build-fuzz/data/Index.rnx build-fuzz/corpus/fuzz_index/shipped-index
	@head -c 4000 build-fuzz/data/Index.rnx > build-fuzz/corpus/fuzz_index/first-records
	@cp build-fuzz/bin/QVData/Co-60.qvd build-fuzz/bin/QVData/Kr-85.qvd build-fuzz/corpus/fuzz_dosedata/
	@head -n 40 data/decay/nuclides.ndx > build-fuzz/corpus/fuzz_ndx/first-records
	@mkdir -p build-fuzz/corpus/fuzz_spectratext
	@zcat data/decay/radiations.tsv.gz | head -n 200 > build-fuzz/corpus/fuzz_spectratext/radiations
	@zcat data/decay/beta.txt.gz | head -n 300 > build-fuzz/corpus/fuzz_spectratext/beta
	@for f in build-fuzz/bin/fuzz_*; do \
	  name=$$(basename $$f); echo "== $$f"; mkdir -p build-fuzz/corpus/$$name; \
	  if [ -d fuzz/seeds/$$name ]; then cp fuzz/seeds/$$name/* build-fuzz/corpus/$$name/; fi; \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/lsan.supp:print_suppressions=0 \
	  "$$f" -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -artifact_prefix=build-fuzz/artifacts/$$name- \
	    build-fuzz/corpus/$$name || exit 1; \
	done

clean:
	rm -rf build build-asan build-fuzz
