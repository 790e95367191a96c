#!/usr/bin/env bash
# Makes the user guide's pictures again from the program as it is: fills a small generated
# database (the same seed every time) and takes a picture of every window with
# lumareth-screenshots into resources/help/images/.
#   scripts/guide-pictures.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
cmake --build "$build" --target lumareth-generate lumareth-screenshots
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/tools/lumareth-generate" --scale 0.0005 --seed 20080305 "$work/shop"
printf '[程序参数]\n店铺名称=实惠电脑\n' >"$work/shop/myini.ini"
out="$root/resources/help/images"
rm -rf "$out"
mkdir -p "$out"
XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/lumareth-xdg}" QT_QPA_PLATFORM=offscreen \
  "$build/tools/lumareth-screenshots" "$out" "$work/shop"
du -sh "$out"
