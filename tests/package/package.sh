#!/usr/bin/env bash
# The Debian package as a shop's PC gets it: built from the build folder, its desktop entry and
# AppStream data validated, installed with apt, the installed program started offscreen with a
# fresh HOME until its login window shows, its database appears and 帮助主题 finds the installed
# guide; then the package is removed again, also when a step fails.
#   package.sh BUILD_DIR WINDOW_WATCH_LIBRARY
# Exits 77 (skipped) where it cannot run: without root, nothing can be installed.
set -euo pipefail
build="$1"
watch="$2"
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: installing a package needs root"
  exit 77
fi

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
apt_get() {
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 -y -qq "$@"
}

work="$(mktemp -d)"
was_installed=no
dpkg-query -W -f='${Status}' lumareth 2>/dev/null | grep -q "install ok installed" && was_installed=yes
pid=""
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  # A copy installed before the test stays (in the version just built); ours goes again.
  if [ "$was_installed" = no ] && dpkg-query -W lumareth >/dev/null 2>&1; then
    apt_get purge lumareth >/dev/null || echo "could not remove lumareth" >&2
  fi
  rm -rf "$work"
}
trap cleanup EXIT

version="$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")"
[ -n "$version" ] || fail "no version in $build/CPackConfig.cmake"
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log"
  fail "cpack"
}
deb="$work/out/lumareth_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/out")"

# What the package holds and needs.
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/files"
for f in ./usr/bin/lumareth ./usr/share/applications/org.lumareth.Lumareth.desktop \
  ./usr/share/metainfo/org.lumareth.Lumareth.metainfo.xml ./usr/share/icons/hicolor/64x64/apps/lumareth.png \
  ./usr/share/lumareth/help/index.html ./usr/share/lumareth/help/en.html ./usr/share/man/man1/lumareth.1.gz \
  ./usr/share/doc/lumareth/copyright ./usr/share/doc/lumareth/changelog.gz; do
  grep -qxF "$f" "$work/files" || fail "the package lacks $f"
done
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for p in libqt6core6 libqt6widgets6 libqt6printsupport6 libsqlite3-0 libqt6sql6-sqlite libqt6sql6-psql \
  libqt6gui6 qt6-qpa-plugins qt6-translations-l10n fonts-wqy-zenhei fonts-arphic-ukai fonts-arphic-uming; do
  grep -qE "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p"
done

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/org.lumareth.Lumareth.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.lumareth.Lumareth.metainfo.xml" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$work/root/usr/share/metainfo/org.lumareth.Lumareth.metainfo.xml" ||
  fail "the AppStream data does not name release $version"
zcat "$work/root/usr/share/doc/lumareth/changelog.gz" | head -1 | grep -q "^lumareth ($version)" ||
  fail "the changelog does not start with $version"

(cd "$work/out" && apt_get install --no-install-recommends "./$(basename "$deb")") || fail "apt-get install"
[ "$(dpkg-query -W -f='${Version}' lumareth)" = "$version" ] || fail "installed version is not $version"

# A user's first start: no program folder yet, a temporary folder of its own for the one-copy lock.
home="$work/home"
mkdir -p "$home" "$work/tmp" "$work/xdg"
chmod 700 "$work/xdg"
log="$work/windows"
env -i PATH=/usr/bin:/bin HOME="$home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/xdg" LANG=C.UTF-8 \
  QT_QPA_PLATFORM=offscreen LD_PRELOAD="$watch" LUMARETH_WINDOW_LOG="$log" \
  /usr/bin/lumareth >"$work/program.log" 2>&1 &
pid=$!
db="$home/.local/share/lumareth/database/database.db"
for _ in $(seq 1 120); do
  if grep -q "^help" "$log" 2>/dev/null && [ -f "$db" ]; then
    break
  fi
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
cat "$log" 2>/dev/null || true
kill -0 "$pid" 2>/dev/null || {
  cat "$work/program.log"
  fail "the installed program ended before its login window showed"
}
grep -qxF "$(printf 'window\tTloginform\t进入系统')" "$log" || fail "no login window"
[ -f "$db" ] || fail "no database at $db"
[ "$(stat -c %a "$db")" = 600 ] || fail "the database is readable by others"
grep -qxF "$(printf 'help\tfile:///usr/share/lumareth/help/index.html')" "$log" ||
  fail "帮助主题 does not open the installed guide"
echo "installed, started, removed: lumareth $version"
