#!/usr/bin/env bash
# Starts the real editor under a virtual X server with a GBK .lrc file on its command line,
# checks that the window comes up with the file's lines loaded, and closes it with Ctrl+Y.
# Usage: smoke_test.sh <editor binary> <GBK .lrc fixture>
# With SMOKE_SCREENSHOT=<file.png> a screenshot of the screen is kept for a look.
# Every wait is bounded and a failure says what it waited for. The window is found by the
# editor's process id: a search by its Chinese title finds nothing without a UTF-8 locale.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../support/editor_session.sh"

use_utf8_locale
[ "${1:-}" = "--inside" ] || rerun_under_xvfb 100 "the smoke test" "$0" "$@"
shift
binary="$1"
fixture="$2"
# A sanitizer build starts and ends several times slower; the bounds leave room for it.
start_limit=60
close_limit=30

make_work_folder

# A folder and a file name with spaces and Chinese characters, as the shell would hand them over.
mkdir -p "$work/歌词 目录"
lrc="$work/歌词 目录/晴天 周.lrc"
cp "$fixture" "$lrc"

unset QT_QPA_PLATFORM
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
report="$work/report.txt"
export LRC_EDITOR_SELFTEST_REPORT="$report"
"$binary" "$lrc" >"$work/editor.log" 2>&1 &
pid=$!
wait_for_report "$report" "$start_limit"
window="$(editor_window)"

grep -qx 'title=青禾歌词编辑器' "$report" || fail "title: $(grep '^title=' "$report")"
grep -qx 'visible=1' "$report" || fail "window not visible"
grep -qx 'lines=5' "$report" || fail "line count: $(grep '^lines=' "$report")"
grep -qx 'selected=0' "$report" || fail "selection: $(grep '^selected=' "$report")"
expected="$(iconv -f GBK -t UTF-8 "$fixture" | sed 's/\r$//; s/^/line=/')"
actual="$(grep '^line=' "$report")"
[ "$expected" = "$actual" ] || fail "lines differ:
$actual
expected:
$expected"
grep -q '^Exec=.* %f$' "$XDG_DATA_HOME/applications/qinghe-lrc-editor.desktop" ||
  fail "no desktop entry for the .lrc association"
grep -qx 'text/x-lrc=qinghe-lrc-editor.desktop' "$XDG_CONFIG_HOME/mimeapps.list" ||
  fail "no default application for text/x-lrc"

if [ -n "${SMOKE_SCREENSHOT:-}" ]; then
  sleep 0.5
  timeout 10 import -window root "$SMOKE_SCREENSHOT" || fail "no screenshot within 10 s"
fi

# Without a window manager the window has to be given the focus directly.
timeout 10 xdotool windowfocus --sync "$window" ||
  fail "waited 10 s for the editor's window $window to take the focus"
timeout 10 xdotool key --clearmodifiers ctrl+y || fail "xdotool could not send Ctrl+Y in 10 s"
wait_for_editor_end "$close_limit" "after Ctrl+Y"
[ "$status" -eq 0 ] || fail "the editor exited with status $status: $(cat "$work/editor.log")"
echo "smoke test passed: window $window, 5 lines loaded"
