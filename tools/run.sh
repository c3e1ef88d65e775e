#!/usr/bin/env bash
# Installs what is missing, builds, and opens the editor (arguments go to yomi6).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
exec build/src/yomi6 "$@"
