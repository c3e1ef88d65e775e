#!/usr/bin/env bash
# Configures and builds yomi6 in build/ (Release with debug information): every target, or only
# the targets named (tools/build.sh yomi6: the program alone, without the tests and benchmarks).
# YOMI6_WERROR=ON in the environment makes the project's warnings errors (as CI builds);
# without it the build keeps the setting it was configured with (off at first).
set -euo pipefail
cd "$(dirname "$0")/.."
options=()
if [ -n "${YOMI6_WERROR:-}" ]; then
  options+=("-DYOMI6_WERROR=$YOMI6_WERROR")
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake --build build "${targets[@]}"
