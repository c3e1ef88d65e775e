#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed time (default 60 s).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DYOMI6_FUZZ=ON \
      -DYOMI6_CORE_ONLY=ON -DYOMI6_TESTS=OFF -DYOMI6_BENCH=OFF >/dev/null
cmake --build build-fuzz
mkdir -p build-fuzz/corpus
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  mkdir -p "build-fuzz/corpus/$name"
  echo "== $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -print_final_stats=1 "build-fuzz/corpus/$name" 2>&1 | tail -n 12
done
