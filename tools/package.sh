#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package build/yomi6_<version>_<arch>.deb
# (install it with: sudo apt-get install ./build/yomi6_*.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
rm -f build/yomi6_*.deb
(cd build && cpack -G DEB >/dev/null)
ls build/yomi6_*.deb
