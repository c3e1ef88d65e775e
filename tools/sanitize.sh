#!/usr/bin/env bash
# Builds the core and its tests with the address and undefined-behaviour sanitizers and runs them;
# then the same for the sound library's tests (the sound thread and its owner, the speech player,
# the speech timer), which build from that library and the core alone.
set -euo pipefail
cd "$(dirname "$0")/.."
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DYOMI6_SANITIZE=ON \
      -DYOMI6_CORE_ONLY=ON -DYOMI6_BENCH=OFF >/dev/null
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure --timeout 600 -j "$(nproc)" -L core

cmake -S . -B build-asan-sound -G Ninja -DCMAKE_BUILD_TYPE=Debug -DYOMI6_SANITIZE=ON \
      -DYOMI6_BENCH=OFF >/dev/null
cmake --build build-asan-sound --target speech_player_test speech_timer_test sound_backend_test
ctest --test-dir build-asan-sound --output-on-failure --timeout 600 -R '^platform_'
