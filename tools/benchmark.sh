#!/usr/bin/env bash
# Builds the tools, generates a database once (kept in $LUMARETH_BENCH_HOME, /tmp by default, not
# in the repository) and prints the benchmark table:
#   tools/benchmark.sh [SCALE] [REPEATS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
scale="${1:-1}"
repeats="${2:-5}"
home="${LUMARETH_BENCH_HOME:-/tmp/lumareth-scale$scale}"
build="$root/build"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
nice ninja -C "$build" -j2 lumareth-generate lumareth-benchmark lumareth-pinyin
if [ ! -f "$home/database/database.db" ]; then
  nice "$build/tools/lumareth-generate" --scale "$scale" "$home"
fi
# The figures are for a database in the system's file cache, as it is after the first minutes of
# work; reading it once first keeps them from depending on what the system dropped meanwhile.
cat "$home/database/database.db" > /dev/null
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/lumareth-xdg}" \
  nice "$build/tools/lumareth-benchmark" --repeats "$repeats" --sqlite3 "$(command -v sqlite3)" \
  --extension "$build/tools/lumareth-pinyin.so" "$home"
