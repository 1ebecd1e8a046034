#!/usr/bin/env bash
# Builds the Debian package with `cpack -G DEB` from a build folder and checks what a user
# installing it with apt gets: the program in /usr/bin, its desktop entry naming it, the MIME
# type of .lrc files, the icons, an AppStream metainfo file that appstreamcli accepts, a
# description in plain sentences, Depends on the libraries the program links and Recommends on
# the Kai face the panels use.
# Usage: deb_package_test.sh <build folder>
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

timeout 180 cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  fail "cpack did not build the package within 180 s: $(tail -n 30 "$work/cpack.log")"
package="$(find "$work" -maxdepth 1 -name 'qinghe-lrc-editor_*.deb' | head -n 1)"
[ -n "$package" ] || fail "no qinghe-lrc-editor_*.deb in $work: $(ls "$work")"

dpkg-deb -x "$package" "$work/root"
[ -x "$work/root/usr/bin/qinghe-lrc-editor" ] || fail "no /usr/bin/qinghe-lrc-editor in the package"
grep -qx 'Exec=/usr/bin/qinghe-lrc-editor %f' "$work/root/usr/share/applications/qinghe-lrc-editor.desktop" ||
  fail "the package's desktop entry does not name /usr/bin/qinghe-lrc-editor"
[ -f "$work/root/usr/share/mime/packages/qinghe-lrc-editor.xml" ] || fail "no MIME type in the package"
[ -f "$work/root/usr/share/icons/hicolor/scalable/apps/qinghe-lrc-editor.svg" ] ||
  fail "no icon in the package"
metainfo="$(find "$work/root/usr/share/metainfo" -name '*.metainfo.xml' 2>/dev/null | head -n 1)"
[ -n "$metainfo" ] || fail "no AppStream metainfo in /usr/share/metainfo"
grep -qxF '  <launchable type="desktop-id">qinghe-lrc-editor.desktop</launchable>' "$metainfo" ||
  fail "the metainfo does not launch qinghe-lrc-editor.desktop"
for element in name summary p; do
  grep -q "<$element xml:lang=\"zh-CN\">" "$metainfo" || fail "the metainfo has no Chinese <$element>"
done
# --no-net: the check needs no network (the homepage is not fetched).
appstreamcli validate --no-net "$metainfo" >"$work/validate.log" 2>&1 ||
  fail "appstreamcli refused $(basename "$metainfo"): $(cat "$work/validate.log")"
description="$(dpkg-deb -f "$package" Description)"
[[ "$description" != *";"* ]] || fail "the description holds a list separator: $description"
recommends="$(dpkg-deb -f "$package" Recommends)"
[[ "$recommends" == *fonts-arphic-ukai* ]] || fail "Recommends lacks fonts-arphic-ukai: $recommends"
# The package holds only files under /usr, and no cache that dpkg's triggers build.
outside="$(dpkg-deb -c "$package" | awk '{print $6}' | grep -v '^\./usr/\|^\./$\|^\./usr/$' || true)"
[ -z "$outside" ] || fail "files outside /usr: $outside"
! dpkg-deb -c "$package" | grep -q 'mime/mime.cache\|mimeinfo.cache' || fail "the package holds a cache"
depends="$(dpkg-deb -f "$package" Depends)"
for library in libmpv libqt6widgets6 libpulse0; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
echo "deb package test passed: $(basename "$package"), Depends: $depends"
