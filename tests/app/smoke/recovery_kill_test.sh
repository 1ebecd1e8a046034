#!/usr/bin/env bash
# The recovery file survives a killed editor: the real editor loads a GBK .lrc file, stamps its
# first line through the 添加时间标签 command and is killed with SIGKILL once its recovery file
# holds the stamp. A start without a file stays empty and leaves that file alone; a start that
# chooses 恢复上次关闭时的歌词 gets the stamped lines and the selection back, and takes the file
# over.
# Usage: recovery_kill_test.sh <editor binary> <GBK .lrc fixture ending in CR LF>
# Every wait is bounded and a failure says what it waited for.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../support/editor_session.sh"

begin_kill_test "$@"
write_limit=20
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
recovery="$work/data/qinghe-lrc-editor"
recovery_files() { find "$recovery" -maxdepth 1 -name "recovery-*.$1" 2>/dev/null | sort; }
expected="$work/expected.txt"
{
  printf 'line=[00:00.00]'
  iconv -f GB18030 -t UTF-8 "$fixture" | tr -d '\r' | sed '2,$s/^/line=/'
} >"$expected"

# First run: load, stamp line 0, wait for the stamp in the recovery file, then die.
LRC_EDITOR_SELFTEST_REPORT="$work/first.txt" LRC_EDITOR_SELFTEST_COMMAND=AddTimeTag \
  "$binary" "$fixture" >"$work/editor.log" 2>&1 &
pid=$!
wait_for_report "$work/first.txt" "$start_limit"
grep -qx 'selected=1' "$work/first.txt" || fail "the stamp did not move the selection: $(cat "$work/first.txt")"
stamped=""
for _ in $(seq $((write_limit * 10))); do
  stamped="$(recovery_files bin | head -n 1)"
  [ -n "$stamped" ] && grep -qaF '[00:00.00][ti:' "$stamped" && break
  stamped=""
  sleep 0.1
done
[ -n "$stamped" ] || fail "waited $write_limit s for a recovery file with the stamp in $recovery"
kill -KILL "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 137 ] || fail "the killed editor ended with status $status, not by SIGKILL"
cp "$stamped" "$work/after-kill.bin"

# Second run: start-up stays empty, and a run without changes leaves the file as it was.
LRC_EDITOR_SELFTEST_REPORT="$work/second.txt" LRC_EDITOR_SELFTEST_QUIT=1 \
  "$binary" >"$work/editor.log" 2>&1 &
pid=$!
wait_for_report "$work/second.txt" "$start_limit"
wait_for_editor_end "$close_limit" "in the second run"
[ "$status" -eq 0 ] || fail "the second run exited with status $status: $(cat "$work/editor.log")"
grep -qx 'lines=0' "$work/second.txt" || fail "the second run did not start empty: $(grep '^lines' "$work/second.txt")"
cmp -s "$work/after-kill.bin" "$stamped" || fail "a run without changes changed $stamped"
[ "$(recovery_files bin)" = "$stamped" ] || fail "recovery files after the second run: $(recovery_files bin)"

# Third run: 恢复上次关闭时的歌词 brings the killed run's document back.
LRC_EDITOR_SELFTEST_REPORT="$work/third.txt" LRC_EDITOR_SELFTEST_COMMAND=RestoreClosedLyrics \
  LRC_EDITOR_SELFTEST_QUIT=1 "$binary" >"$work/editor.log" 2>&1 &
pid=$!
wait_for_report "$work/third.txt" "$start_limit"
wait_for_editor_end "$close_limit" "in the third run"
[ "$status" -eq 0 ] || fail "the third run exited with status $status: $(cat "$work/editor.log")"
grep -qx 'selected=1' "$work/third.txt" || fail "the selection came back as $(grep '^selected' "$work/third.txt")"
grep '^line=' "$work/third.txt" | cmp -s - "$expected" ||
  fail "the lines that came back: $(grep '^line=' "$work/third.txt"), not $(cat "$expected")"
# The third run's own file holds the document now; the killed run's file and every lock are gone.
left="$(recovery_files bin)"
[ -n "$left" ] && [ "$left" != "$stamped" ] && [ "$(wc -l <<<"$left")" -eq 1 ] ||
  fail "recovery files after the restore: ${left:-none}"
grep -qaF '[00:00.00][ti:' "$left" || fail "the third run's recovery file lacks the stamp"
[ -z "$(recovery_files lock)" ] || fail "lock files left behind: $(recovery_files lock)"
echo "recovery kill test passed: the document stamped before SIGKILL came back in a new run"
