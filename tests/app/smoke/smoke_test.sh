#!/usr/bin/env bash
# Starts the real editor under a virtual X server with a GBK .lrc file on its command line,
# checks that the window comes up with the file's lines loaded, and closes it with Ctrl+Y.
# Usage: smoke_test.sh <editor binary> <GBK .lrc fixture>
# With SMOKE_SCREENSHOT=<file.png> a screenshot of the screen is kept for a look.
set -euo pipefail

if [ "${1:-}" != "--inside" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$@"
fi
shift
binary="$1"
fixture="$2"

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

for _ in $(seq 200); do
  [ -s "$work/report.txt" ] && break
  kill -0 "$pid" 2>/dev/null || fail "the editor exited early: $(cat "$work/editor.log")"
  sleep 0.1
done
[ -s "$work/report.txt" ] || fail "no self-test report within 20 s"

window="$(xdotool search --sync --name '青禾歌词编辑器' | head -n 1)"
[ -n "$window" ] || fail "no window titled 青禾歌词编辑器"

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
  import -window root "$SMOKE_SCREENSHOT"
fi

# Without a window manager the window has to be given the focus directly.
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+y
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  fail "Ctrl+Y did not close the editor"
fi
wait "$pid" || fail "the editor exited with an error"
pid=""
echo "smoke test passed: window $window, 5 lines loaded"
