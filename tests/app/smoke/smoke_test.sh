#!/usr/bin/env bash
# Starts the real editor under a virtual X server with a GBK .lrc file on its command line,
# checks that the window comes up with the file's lines loaded, and closes it with Ctrl+Y.
# Usage: smoke_test.sh <editor binary> <GBK .lrc fixture>
# With SMOKE_SCREENSHOT=<file.png> a screenshot of the screen is kept for a look.
# Every wait is bounded and a failure says what it waited for. The window is found by the
# editor's process id: a search by its Chinese title finds nothing without a UTF-8 locale.
set -euo pipefail

# The editor and the tools run under a UTF-8 locale even where the environment sets none.
if ! [[ "$(locale charmap 2>/dev/null)" =~ ^(UTF-8|utf8)$ ]]; then
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
fi

if [ "${1:-}" != "--inside" ]; then
  status=0
  timeout 100 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$@" || status=$?
  [ "$status" -ne 124 ] || echo "FAIL: waited 100 s for the smoke test under Xvfb to end" >&2
  exit "$status"
fi
shift
binary="$1"
fixture="$2"
# A sanitizer build starts and ends several times slower; the bounds leave room for it.
start_limit=60
close_limit=30

work="$(mktemp -d)"
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A folder and a file name with spaces and Chinese characters, as the shell would hand them over.
mkdir -p "$work/歌词 目录"
lrc="$work/歌词 目录/晴天 周.lrc"
cp "$fixture" "$lrc"

unset QT_QPA_PLATFORM
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export LRC_EDITOR_SELFTEST_REPORT="$work/report.txt"
"$binary" "$lrc" >"$work/editor.log" 2>&1 &
pid=$!

for _ in $(seq $((start_limit * 10))); do
  [ -s "$work/report.txt" ] && break
  kill -0 "$pid" 2>/dev/null || fail "the editor exited early: $(cat "$work/editor.log")"
  sleep 0.1
done
[ -s "$work/report.txt" ] ||
  fail "waited ${start_limit} s for the editor's self-test report; editor output: $(cat "$work/editor.log")"

window=""
for _ in $(seq 50); do
  window="$(timeout 5 xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)"
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "waited 5 s for a visible window of the editor's process $pid"

report="$work/report.txt"
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
for _ in $(seq $((close_limit * 10))); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  fail "waited ${close_limit} s for the editor to end after Ctrl+Y"
fi
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the editor exited with status $status: $(cat "$work/editor.log")"
pid=""
echo "smoke test passed: window $window, 5 lines loaded"
