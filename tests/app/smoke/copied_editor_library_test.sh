#!/usr/bin/env bash
# A copy of the real editor kept in ~/.local/bin finds its saved-lyrics library at every start.
# Its first start writes the .lrc association into ~/.local/share/applications, beside
# ~/.local/bin, which must not make the second start take the copy for an installed editor and
# look for the library in ~/.local/share/qinghe-lrc-editor. Records that such a second start
# of an older version saved in that folder are brought into the library once: the old files
# stay as they were, and the next start neither imports them again nor doubles them.
# Usage: copied_editor_library_test.sh <editor binary> <GBK .lrc fixture ending in CR LF>
# Every wait is bounded and a failure says what it waited for.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../support/editor_session.sh"

use_utf8_locale
binary="$1"
fixture="$2"
# A sanitizer build starts and ends several times slower; the bound leaves room for it.
run_limit=90

make_work_folder
fail_log="$work/editor.log"
export HOME="$work/home"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config" QT_QPA_PLATFORM=offscreen
bin="$HOME/.local/bin"
mkdir -p "$bin"
cp "$binary" "$bin/qinghe-lrc-editor"
lrc="$work/歌词.lrc"
cp "$fixture" "$lrc"
store_files=(保存歌手 保存歌曲 保存专辑 保存编辑人 保存歌曲路径 保存时间 保存歌词)

# One record an older version saved in the per-user data folder (GBK, as the library is).
stranded="$XDG_DATA_HOME/qinghe-lrc-editor"
mkdir -p "$stranded" "$work/stranded-before"
old_values=(旧歌手 旧歌 "" "" /音乐/旧歌.mp3 "2013年7月21日 10:00:00" $'[00:01.00]旧的一行\r\n')
for i in "${!store_files[@]}"; do
  printf '%s======' "${old_values[$i]}" | iconv -f UTF-8 -t GB18030 >"$stranded/${store_files[$i]}.txt"
  cp "$stranded/${store_files[$i]}.txt" "$work/stranded-before/"
done
# And the personal signature it stored there.
printf '[GEXINGQIANMING]\r\nPEIZHI=旧的签名\r\n' | iconv -f UTF-8 -t GB18030 >"$stranded/GEXINGQIANMING.ini"

# Starts the copy; it runs the menu command $2 (if any), writes the report $1 and closes itself.
run_editor() {
  LRC_EDITOR_SELFTEST_REPORT="$work/$1.txt" LRC_EDITOR_SELFTEST_COMMAND="${2:-}" \
    LRC_EDITOR_SELFTEST_QUIT=1 "$bin/qinghe-lrc-editor" "$lrc" >"$work/editor.log" 2>&1 &
  pid=$!
  wait_for_editor_end "$run_limit" "after its report ($1)"
  [ "$status" -eq 0 ] || fail "the copied editor exited with status $status ($1)"
  [ -s "$work/$1.txt" ] || fail "the copied editor wrote no report ($1)"
}

run_editor first SaveLyrics
[ -f "$XDG_DATA_HOME/applications/qinghe-lrc-editor.desktop" ] ||
  fail "the first start wrote no .lrc association into $XDG_DATA_HOME/applications"
[ -f "$bin/保存歌手.txt" ] || fail "the library was not kept beside the copy: $(ls "$bin")"
cmp -s "$stranded/GEXINGQIANMING.ini" "$bin/GEXINGQIANMING.ini" ||
  fail "the signature stored in the old folder did not come along: $(ls "$bin")"
grep -qx 'saved_records=2' "$work/first.txt" ||
  fail "the first start's library: $(grep '^saved' "$work/first.txt")"
grep -m1 '^saved=' "$work/first.txt" | grep -qxF 'saved=旧歌手|旧歌|||/音乐/旧歌.mp3|2013年7月21日 10:00:00' ||
  fail "the old record did not come first: $(grep '^saved=' "$work/first.txt")"

run_editor second
grep -qx 'saved_records=2' "$work/second.txt" ||
  fail "the second start's library (the association is in place now): $(grep '^saved' "$work/second.txt")"
[ "$(grep '^saved=' "$work/first.txt")" = "$(grep '^saved=' "$work/second.txt")" ] ||
  fail "the rows differ between the starts: $(grep '^saved=' "$work/second.txt")"
[ -f "$bin/保存歌词导入记录.txt" ] || fail "no note of the import beside the library: $(ls "$bin")"
# Without the note the records come in again, and the old one, already in, is not doubled.
rm "$bin/保存歌词导入记录.txt"
run_editor third
[ "$(grep '^saved' "$work/first.txt")" = "$(grep '^saved' "$work/third.txt")" ] ||
  fail "an import again doubled or lost records: $(grep '^saved' "$work/third.txt")"
for name in "${store_files[@]}"; do
  cmp -s "$work/stranded-before/$name.txt" "$stranded/$name.txt" || fail "the old $name.txt changed"
done
echo "copied editor library test passed: 2 records at every start, the old signature kept, the old folder untouched"
