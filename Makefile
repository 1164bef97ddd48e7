# The whole set-up on a fresh Debian/Ubuntu machine:
#   make play   installs what is missing, builds the player and plays the demo game
#   make test   the same, then builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test
# Also: make bench (benchmarks), make fuzz (libFuzzer targets, with clang), make fuzz-games (an hour of
# damaged games against the sanitizer build; MINUTES=, FIRST_SEED=), make format.

PACKAGES := build-essential cmake ninja-build pkg-config \
    libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libfontconfig-dev fontconfig fonts-liberation2 \
    libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev \
    libfluidsynth-dev timgm6mb-soundfont libimgui-dev libpcre2-dev nlohmann-json3-dev libicu-dev \
    libgif-dev
TEST_PACKAGES := libgtest-dev libgmock-dev xvfb xauth ffmpeg desktop-file-utils shared-mime-info man-db
BENCH_PACKAGES := libbenchmark-dev python3 lua5.4 ffmpeg
FUZZ_PACKAGES := clang libclang-rt-14-dev

JOBS ?= $(shell nproc)
GAME ?= examples/demo

.PHONY: play test bench fuzz fuzz-games release format packages

packages:
	@tools/install-packages.sh $(PACKAGES) $(TEST_PACKAGES)

release: packages
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIRO_TESTS=OFF -DTAVIRO_BENCH=OFF
	cmake --build build/release -j $(JOBS)

play: release
	build/release/src/app/taviro-player $(GAME)

test: release
	cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVIRO_SANITIZE=ON -DTAVIRO_BENCH=OFF
	cmake --build build/asan -j $(JOBS)
	ctest --test-dir build/asan --output-on-failure -j $(JOBS)

bench: packages
	@tools/install-packages.sh $(BENCH_PACKAGES)
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIRO_TESTS=OFF -DTAVIRO_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	build/bench/bench/field_reader_bench

fuzz: packages
	@tools/install-packages.sh $(FUZZ_PACKAGES)
	cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DTAVIRO_FUZZ=ON -DTAVIRO_TESTS=OFF -DTAVIRO_BENCH=OFF
	cmake --build build/fuzz -j $(JOBS)
	@echo "Fuzz targets are in build/fuzz/fuzz; run one as: build/fuzz/fuzz/field_reader_fuzz fuzz/seeds/field_reader"

MINUTES ?= 60
FIRST_SEED ?= 1000
fuzz-games: packages
	cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVIRO_SANITIZE=ON -DTAVIRO_BENCH=OFF
	cmake --build build/asan -j $(JOBS) --target taviro-player
	python3 fuzz/games/fuzz_games.py --player build/asan/src/app/taviro-player --minutes $(MINUTES) \
	    --first-seed $(FIRST_SEED) --jobs $(JOBS) --findings build/fuzz-games-findings

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
