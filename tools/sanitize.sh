#!/usr/bin/env bash
# Builds the core and its tests with the address and undefined-behaviour sanitizers and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DYOMI6_SANITIZE=ON \
      -DYOMI6_CORE_ONLY=ON -DYOMI6_BENCH=OFF >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure --timeout 600 -j "$(nproc)" -L core
