#!/usr/bin/env bash
# Builds the Debian package lumareth_<version>_amd64.deb into the build folder.
#   scripts/package.sh [BUILD_DIR]
# lintian, if wanted, is a separate step (it is large): apt-get install lintian, then
#   lintian build/lumareth_*_amd64.deb
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja
cmake --build "$build" --target lumareth
cd "$build" && cpack -G DEB
ls -l "$build"/lumareth_*_amd64.deb
