#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, run and be tested, then builds it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6sql6-sqlite libsqlite3-dev qt6-translations-l10n
  fonts-wqy-zenhei fonts-arphic-ukai fonts-arphic-uming
  xvfb xauth poppler-utils sqlite3
  libreoffice-calc-nogui libreoffice-writer-nogui
  clang libclang-rt-14-dev
  postgresql-15 postgresql-client libqt6sql6-psql
)
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

cmake -S "$root" -B "$root/build" -G Ninja
cmake --build "$root/build"
