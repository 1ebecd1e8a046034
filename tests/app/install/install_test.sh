#!/usr/bin/env bash
# Installs the editor into a temporary prefix with `cmake --install`, checks what was
# installed, makes the prefix read-only and starts the installed editor under a virtual X
# server with a UTF-8 .lrc file on its command line, twice:
#  1. in a Wayland session (a headless Weston compositor beside the X server, with Qt's Wayland
#     plugin installed, so Qt on its own would take Wayland), with the prefix among the desktop's
#     data folders: it runs through XWayland, loads the four lines, keeps its files in the
#     per-user data folder, writes nothing into the prefix and no per-user desktop entry (and
#     removes a stale one that would hide the installed entry), and makes itself the default
#     for .lrc files;
#  2. with the prefix unknown to the desktop and a platform chosen by the user (offscreen,
#     beside the same session): that choice stays, and a per-user desktop entry names the
#     installed program.
# Usage: install_test.sh <build folder>
# Every wait is bounded and a failure says what it waited for.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../support/editor_session.sh"

use_utf8_locale
[ "${1:-}" = "--inside" ] || rerun_under_xvfb 200 "the install test" "$0" "$@"
shift
build="$1"
# A sanitizer build starts and ends several times slower; the bound leaves room for it.
run_limit=90

make_work_folder
compositor=""
cleanup_more() {
  if [ -n "$compositor" ]; then kill "$compositor" 2>/dev/null || true; fi
  chmod -R u+w "$work" 2>/dev/null || true
}

prefix="$work/prefix with space"
timeout 60 cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  fail "cmake --install did not finish within 60 s or failed: $(cat "$work/install.log")"

program="$prefix/bin/qinghe-lrc-editor"
share="$prefix/share"
[ -x "$program" ] || fail "no installed program at $program"
entry="$share/applications/qinghe-lrc-editor.desktop"
[ -f "$entry" ] || fail "no desktop entry at $entry"
# The path holds a space, so Exec quotes it.
grep -qxF "Exec=\"$program\" %f" "$entry" || fail "desktop entry's Exec: $(grep '^Exec=' "$entry")"
grep -qx 'MimeType=text/x-lrc;' "$entry" || fail "desktop entry has no MimeType text/x-lrc"
grep -qx 'Icon=qinghe-lrc-editor' "$entry" || fail "desktop entry has no icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate refused $entry"
fi
grep -q '<glob pattern="\*.lrc"/>' "$share/mime/packages/qinghe-lrc-editor.xml" ||
  fail "no MIME type for *.lrc in $share/mime/packages"
for icon in apps/qinghe-lrc-editor mimetypes/text-x-lrc; do
  [ -s "$share/icons/hicolor/scalable/$icon.svg" ] || fail "no scalable icon $icon.svg"
  for size in 48 128 256; do
    [ -s "$share/icons/hicolor/${size}x$size/$icon.png" ] || fail "no ${size}px icon $icon.png"
  done
done
if command -v update-mime-database >/dev/null; then
  grep -q '^50:text/x-lrc:\*\.lrc$' "$share/mime/globs2" ||
    fail "the install did not build the prefix's MIME cache for *.lrc"
fi

chmod -R a-w "$prefix"
listing() { find "$prefix" -printf '%p %s %T@\n' | sort; }
before="$(listing)"

export HOME="$work/home"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
user_entry="$XDG_DATA_HOME/applications/qinghe-lrc-editor.desktop"
user_mime="$XDG_DATA_HOME/mime/packages/qinghe-lrc-editor.xml"
# What an earlier start of a build tree since deleted would have left behind.
mkdir -p "$(dirname "$user_entry")" "$(dirname "$user_mime")"
printf '[Desktop Entry]\nType=Application\nName=old\nExec=/gone/qinghe-lrc-editor %%f\n' >"$user_entry"
cp "$share/mime/packages/qinghe-lrc-editor.xml" "$user_mime"

lrc="$work/歌词/晴天.lrc"
mkdir -p "$(dirname "$lrc")"
printf '[ti:晴天]\r\n[00:01.00]故事的小黄花\r\n[00:05.00]从出生那年就飘着\r\n结束\r\n' >"$lrc"

# Starts the installed editor with the .lrc file; it writes its report once its window is
# painted and closes itself. $1 names the report.
run_editor() {
  local report="$work/$1.txt"
  LRC_EDITOR_SELFTEST_REPORT="$report" LRC_EDITOR_SELFTEST_QUIT=1 \
    "$program" "$lrc" >"$work/$1.log" 2>&1 &
  pid=$!
  wait_for_editor_end "$run_limit" "after showing its window ($1)"
  [ "$status" -eq 0 ] || fail "the installed editor exited with status $status ($1): $(cat "$work/$1.log")"
  [ -s "$report" ] || fail "the installed editor wrote no report ($1): $(cat "$work/$1.log")"
  grep -qx 'visible=1' "$report" || fail "window not visible ($1)"
  grep -qx 'lines=4' "$report" || fail "UTF-8 file: $(grep '^lines=' "$report") ($1)"
  local expected actual
  expected="$(tr -d '\r' <"$lrc" | sed 's/^/line=/')"
  actual="$(grep '^line=' "$report")"
  [ "$expected" = "$actual" ] || fail "lines differ ($1):
$actual
expected:
$expected"
}

command -v weston >/dev/null || fail "no weston for the Wayland session (scripts/install-deps.sh installs it)"
weston --backend=headless-backend.so --socket=wayland-lrc-test --idle-time=0 --no-config \
  >"$work/weston.log" 2>&1 &
compositor=$!
for _ in $(seq 100); do
  [ -S "$XDG_RUNTIME_DIR/wayland-lrc-test" ] && break
  kill -0 "$compositor" 2>/dev/null || fail "weston ended at once: $(cat "$work/weston.log")"
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/wayland-lrc-test" ] || fail "waited 10 s for weston's Wayland socket"

export XDG_DATA_DIRS="$share:/usr/share"
export WAYLAND_DISPLAY=wayland-lrc-test XDG_SESSION_TYPE=wayland
unset QT_QPA_PLATFORM
run_editor wayland
grep -qx 'platform=xcb' "$work/wayland.txt" ||
  fail "a Wayland session with an X display: $(grep '^platform=' "$work/wayland.txt"), not xcb"
[ "$before" = "$(listing)" ] || fail "the editor changed the installed prefix"
# The folder of the files kept beside the program is made at start-up.
[ -d "$XDG_DATA_HOME/qinghe-lrc-editor" ] ||
  fail "the editor did not take the per-user data folder $XDG_DATA_HOME/qinghe-lrc-editor"
[ ! -e "$user_entry" ] || fail "a per-user desktop entry hides the installed one: $(cat "$user_entry")"
[ ! -e "$user_mime" ] || fail "the per-user copy of the MIME type was left in place"
grep -qx 'text/x-lrc=qinghe-lrc-editor.desktop' "$XDG_CONFIG_HOME/mimeapps.list" ||
  fail "the editor is not the default for text/x-lrc"

export XDG_DATA_DIRS=/usr/share QT_QPA_PLATFORM=offscreen
run_editor unknown_prefix
grep -qx 'platform=offscreen' "$work/unknown_prefix.txt" ||
  fail "the user's platform was not kept: $(grep '^platform=' "$work/unknown_prefix.txt")"
grep -qxF "Exec=\"$program\" %f" "$user_entry" ||
  fail "per-user desktop entry for a prefix the desktop does not see: $(cat "$user_entry" 2>&1)"
[ "$before" = "$(listing)" ] || fail "the editor changed the installed prefix"
echo "install test passed: installed to $prefix, started twice from the read-only prefix"
