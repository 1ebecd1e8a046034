#!/usr/bin/env bash
# Builds the Debian package with `cpack -G DEB` from a build folder and checks what a user
# installing it with apt gets: the program in /usr/bin, its desktop entry naming it, the MIME
# type of .lrc files, the icons, and Depends on the libraries the program links.
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
# The package holds only files under /usr, and no cache that dpkg's triggers build.
outside="$(dpkg-deb -c "$package" | awk '{print $6}' | grep -v '^\./usr/\|^\./$\|^\./usr/$' || true)"
[ -z "$outside" ] || fail "files outside /usr: $outside"
! dpkg-deb -c "$package" | grep -q 'mime/mime.cache\|mimeinfo.cache' || fail "the package holds a cache"
depends="$(dpkg-deb -f "$package" Depends)"
for library in libmpv libqt6widgets6 libpulse0; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
echo "deb package test passed: $(basename "$package"), Depends: $depends"
