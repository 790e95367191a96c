#!/usr/bin/env bash
# Installs the Debian packages that are missing, then builds.
#   scripts/setup.sh run    what building and running the program needs; builds the program only
#   scripts/setup.sh test   that and what the tests, the fuzzers and the package need; builds everything
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mode="${1:-test}"

# Building and running.
run_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql libsqlite3-dev qt6-translations-l10n
  fonts-wqy-zenhei fonts-arphic-ukai fonts-arphic-uming
)
# Testing only: screenshots without a display, readers of exported and printed files, the
# fuzzers, the benchmark's shell, and the checks of the Debian package.
test_packages=(
  xvfb xauth poppler-utils sqlite3
  libreoffice-calc-nogui libreoffice-writer-nogui
  clang libclang-rt-14-dev
  dpkg-dev desktop-file-utils appstream
  postgresql-15 postgresql-client
)

case "$mode" in
run) packages=("${run_packages[@]}") ;;
test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
*)
  echo "usage: $0 run|test" >&2
  exit 2
  ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "$mode" = run ]; then
  cmake -S "$root" -B "$root/build" -G Ninja
  cmake --build "$root/build" --target lumareth
else
  # A build folder first configured by ./run looked for clang++ before it was installed.
  cmake -S "$root" -B "$root/build" -G Ninja -U LUMARETH_CLANGXX
  cmake --build "$root/build"
fi
