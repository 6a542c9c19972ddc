#!/usr/bin/env bash
# Set-up, build and run in one place.
#   ./build.sh run    install what is missing, build (optimised), prepare the install folder once, start Tolvane
#   ./build.sh test   install what is missing, build with AddressSanitizer + UBSan, run every test headless
#                     (each test program as one process, shuffled three times)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ pkg-config libsdl2-dev libsdl2-ttf-dev fonts-nanum libcairo2-dev libcups2-dev
  libavformat-dev libavcodec-dev libswscale-dev libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev libfuzzer-14-dev)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then
    apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
  elif command -v sudo >/dev/null 2>&1; then
    sudo apt-get update -q && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
  else
    echo "Please install these Debian packages first, then run this again:"
    printf '  %s\n' "${missing[@]}"
    exit 1
  fi
}

jobs=$(nproc 2>/dev/null || echo 2)

case "${1:-}" in
  run)
    install_packages
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOLVANE_TESTS=OFF >/dev/null
    cmake --build build/release -j"$jobs"
    if ! build/release/bin/tolvane-setup --check >/dev/null 2>&1; then
      build/release/bin/tolvane-setup
    fi
    exec build/release/bin/launcher
    ;;
  test)
    install_packages
    export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy TOLVANE_HEADLESS=1
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
    cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_SANITIZE=ON -DTOLVANE_BENCH=ON >/dev/null
    cmake --build build/asan -j"$jobs"
    # Fuzz targets under libFuzzer: a short run of each over its kept corpus.
    CC=clang-14 CXX=clang++-14 cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTOLVANE_FUZZ=ON -DTOLVANE_TESTS=OFF >/dev/null
    cmake --build build/fuzz -j"$jobs" --target fuzz_all
    for target in build/fuzz/bin/*Fuzz; do
      [ -x "$target" ] || continue
      name=$(basename "$target")
      corpus=$(mktemp -d)
      cp -r "tests/data/fuzz/$name/." "$corpus/" 2>/dev/null || true
      "$target" -max_total_time="${FUZZ_SECONDS:-15}" -print_final_stats=0 "$corpus" >"build/fuzz/$name.log" 2>&1 \
        || { echo "$name found a crash:"; tail -40 "build/fuzz/$name.log"; rm -rf "$corpus"; exit 1; }
      echo "$name: $(grep -o 'Done [0-9]* runs' "build/fuzz/$name.log" | tail -1 || true) without a crash"
      rm -rf "$corpus"
    done
    # Every test program runs as one process, three times in a shuffled order: no test may lean on
    # what another left behind.
    passed=0 failed=0
    for program in build/asan/bin/*_tests; do
      name=$(basename "$program")
      for seed in 1 7 42; do
        log="build/asan/$name.seed$seed.log"
        if (cd tests && timeout 900 "../$program" --gtest_shuffle --gtest_random_seed=$seed >"../$log" 2>&1); then
          passed=$((passed + $(grep -o '^\[  PASSED  \] [0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)))
        else
          failed=$((failed + 1))
          echo "$name failed with seed $seed:"
          grep -E '^\[  FAILED  \]|Failure|ERROR|Sanitizer' "$log" | head -40 || tail -40 "$log"
        fi
      done
      echo "$name: done (seeds 1, 7, 42)"
    done
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    ;;
  *)
    sed -n '2,5p' "$0"
    exit 2
    ;;
esac
