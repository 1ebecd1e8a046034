#!/usr/bin/env bash
# The saved-lyrics library survives a killed editor: a copy of the real editor in a folder of
# its own (its program directory) saves the lyrics of a GBK .lrc file through its 保存歌词 menu
# command, is killed with SIGKILL, and a second start shows the record in its library list;
# its normal shutdown then writes the same seven files again.
# Usage: saved_lyrics_kill_test.sh <editor binary> <GBK .lrc fixture ending in CR LF>
# Every wait is bounded and a failure says what it waited for.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../support/editor_session.sh"

begin_kill_test "$@"

# The program directory is the executable's own folder when it is writable.
program="$work/程序 目录"
mkdir -p "$program"
cp "$binary" "$program/editor"
lrc="$work/歌词.lrc"
cp "$fixture" "$lrc"
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
store_files=(保存歌手 保存歌曲 保存专辑 保存编辑人 保存歌曲路径 保存时间 保存歌词)

# First run: save once through the menu command, then die without any shutdown.
LRC_EDITOR_SELFTEST_REPORT="$work/first.txt" LRC_EDITOR_SELFTEST_COMMAND=SaveLyrics \
  "$program/editor" "$lrc" >"$work/editor.log" 2>&1 &
pid=$!
wait_for_report "$work/first.txt" "$start_limit"
grep -qx 'saved_records=1' "$work/first.txt" ||
  fail "the first run's list: $(grep '^saved' "$work/first.txt")"
kill -KILL "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 137 ] || fail "the killed editor ended with status $status, not by SIGKILL"

# Each file holds one value and the separator; the lyrics value is the file's lines, each
# ending in CR LF, which the fixture already is.
for name in 保存歌手 保存歌曲 保存专辑 保存编辑人 保存歌曲路径; do
  [ "$(cat "$program/$name.txt")" = "======" ] || fail "$name.txt holds $(od -c "$program/$name.txt")"
done
printf '======' | cat "$fixture" - | cmp -s - "$program/保存歌词.txt" ||
  fail "保存歌词.txt is not the fixture's lines and the separator: $(od -c "$program/保存歌词.txt" | head)"
saved_at="$(iconv -f GB18030 -t UTF-8 "$program/保存时间.txt")"
[[ "$saved_at" =~ ^[0-9]{4}年[0-9]{1,2}月[0-9]{1,2}日.*======$ ]] || fail "保存时间.txt holds $saved_at"
leftovers="$(find "$program" -mindepth 1 -maxdepth 1 ! -name editor ! -name '保存*.txt')"
[ -z "$leftovers" ] || fail "files beside the program besides the library: $leftovers"
mkdir "$work/after-kill"
for name in "${store_files[@]}"; do cp "$program/$name.txt" "$work/after-kill/"; done

# Second run: the record is in the list; the normal shutdown stores the same library.
LRC_EDITOR_SELFTEST_REPORT="$work/second.txt" LRC_EDITOR_SELFTEST_QUIT=1 \
  "$program/editor" >"$work/editor.log" 2>&1 &
pid=$!
wait_for_report "$work/second.txt" "$start_limit"
wait_for_editor_end "$close_limit" "in the second run"
[ "$status" -eq 0 ] || fail "the second run exited with status $status: $(cat "$work/editor.log")"
grep -qx 'saved_records=1' "$work/second.txt" ||
  fail "after the restart the list holds: $(grep '^saved' "$work/second.txt")"
expected_row="saved=|||||${saved_at%======}"
grep -qxF "$expected_row" "$work/second.txt" ||
  fail "the restored row is $(grep '^saved=' "$work/second.txt"), not $expected_row"
for name in "${store_files[@]}"; do
  cmp -s "$work/after-kill/$name.txt" "$program/$name.txt" || fail "shutdown changed $name.txt"
done
echo "saved-lyrics kill test passed: the record saved before SIGKILL came back after a restart"
