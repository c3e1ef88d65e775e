#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (the core library instrumented too) and runs each for a
# fixed time (default 60 s). Each target starts from its seeds in fuzz/corpus/<target>/, copied
# into its working corpus under build-fuzz/, so runs never change the repository.
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
  corpus="build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  if [ -d "fuzz/corpus/$name" ]; then
    cp --no-clobber fuzz/corpus/"$name"/* "$corpus"/
  fi
  echo "== $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
done
