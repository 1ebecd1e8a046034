#!/usr/bin/env bash
# Makes the README's three screenshots with the real editor under a virtual X server:
#   docs/screenshots/main-window.png  a GBK sample .lrc and a song loaded, the song playing and
#                                     its first three lines stamped with F5
#   docs/screenshots/test-play.png    test play (F2) of the lines, all six stamped by then, the
#                                     curtain closed and the current line shown in the display box
#   docs/screenshots/waveform.png     the waveform window (F8) during that test play: the song's
#                                     waveform, a mark at every stamped line, the current line's
#                                     mark red and the play cursor
# The sample lyrics and the song (espeak-ng speech of the lines, one every 3 s, made into an
# .mp3 by ffmpeg) are generated here. The editor runs as a copy in a scratch folder with its own
# XDG folders, so neither the build folder nor the user's files are touched. Playback needs a
# sound server: a PulseAudio server is started when none runs and then left running.
# Usage: screenshots.sh   (BUILD_DIR: build folder, build/ by default; SCREENSHOT_DIR: where
#                          the pictures go, docs/screenshots/ by default)
# Every wait is bounded and a failure says what it waited for.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/tests/support/editor_session.sh"
build="${BUILD_DIR:-$root/build}"
out="${SCREENSHOT_DIR:-$root/docs/screenshots}"
# Window titles, the typed Chinese file name and the lyrics need a UTF-8 locale.
export LANG=C.UTF-8 LC_ALL=C.UTF-8

if [ "${1:-}" != "--inside" ]; then
  "$root/scripts/install-deps.sh"
  # An existing build folder is brought up to date for the editor alone.
  if [ -f "$build/CMakeCache.txt" ]; then
    cmake --build "$build" --target qinghe-lrc-editor
  else
    BUILD_DIR="$build" "$root/scripts/build.sh"
  fi
  "$root/scripts/services.sh" start
  mkdir -p "$out"
  rerun_under_xvfb 150 "the screenshots" "$0" "$build" "$out"
fi
build="$2"
out="$3"

make_work_folder
fail_log="$work/editor.log"

# --- The sample: a GBK .lrc with header tags and six lines, and a song that speaks them.
lines=(清晨的风吹过青禾 露水落在田埂上 我把歌词一行一行写下 每一句都等着它的时间 按下F5的那一刻
  歌声和文字走到一起)
slot=3
{
  printf '[ti:晨风]\r\n[ar:青禾]\r\n[al:示例]\r\n'
  printf '%s\r\n' "${lines[@]}"
} | iconv -f UTF-8 -t GBK >"$work/晨风.lrc"
: >"$work/concat.txt"
for i in "${!lines[@]}"; do
  espeak-ng -v cmn -s 240 -w "$work/speech$i.wav" "${lines[$i]}"
  ffmpeg -loglevel error -y -i "$work/speech$i.wav" -af "apad=whole_dur=$slot" -t "$slot" \
    "$work/slot$i.wav"
  echo "file 'slot$i.wav'" >>"$work/concat.txt"
done
mkdir -p "$work/config" "$work/data" "$work/cache" "$work/program"
song_name="青禾-晨风.mp3"
ffmpeg -loglevel error -y -f concat -safe 0 -i "$work/concat.txt" -c:a libmp3lame -b:a 64k \
  "$work/$song_name"

# The song and the lyrics lie where a user keeps them, on a Desktop folder in /home: a tmpfs
# mounted over /home in a mount namespace of the editor's own (private, so nothing shows
# outside it) holds that folder, and the song path the window shows is a plain one. Where no
# such namespace can be made, the Desktop folder is a scratch folder.
namespace=(unshare --mount)
[ "$(id -u)" -eq 0 ] || namespace=(unshare --user --map-root-user --mount)
if [ -d /home ] && "${namespace[@]}" sh -c 'mount -t tmpfs tmpfs /home' 2>/dev/null; then
  desktop=/home/qinghe/桌面
else
  namespace=()
  desktop="$work/desktop"
fi

# The editor is a copy in a folder of its own, so its library files are written there; the
# open-audio dialog starts on the Desktop folder, which user-dirs.dirs names.
cp "$build/qinghe-lrc-editor" "$work/program/"
echo "XDG_DESKTOP_DIR=\"$desktop\"" >"$work/config/user-dirs.dirs"
use_sound_server
unset QT_QPA_PLATFORM
mkdir -m 700 "$work/runtime"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
  XDG_RUNTIME_DIR="$work/runtime"
# The self-test hook runs 打开音频文件 once the window is shown; the report follows once the
# dialog has closed. The shell ends in the editor (exec), so $! is the editor's process.
export LRC_EDITOR_SELFTEST_REPORT="$work/report.txt" LRC_EDITOR_SELFTEST_COMMAND=OpenAudioFile
"${namespace[@]}" sh -c '
  set -e
  [ -z "$1" ] || mount -t tmpfs tmpfs /home
  mkdir -p "$2"
  cp "$3/$4" "$3/晨风.lrc" "$2/"
  exec "$3/program/qinghe-lrc-editor" "$2/晨风.lrc"' \
  sh "${namespace[*]}" "$desktop" "$work" "$song_name" >"$work/editor.log" 2>&1 &
pid=$!
unset LRC_EDITOR_SELFTEST_REPORT LRC_EDITOR_SELFTEST_COMMAND

# Prints the editor's window titled $1 once it is shown; waits up to $2 s.
window_named() {
  for _ in $(seq $(($2 * 10))); do
    kill -0 "$pid" 2>/dev/null || fail "the editor exited early"
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
      [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && echo "$id" && return 0
    done
    sleep 0.1
  done
  fail "waited $2 s for the editor's window \"$1\""
}

main="$(window_named 青禾歌词编辑器 30)"
dialog="$(window_named tolva_打开音频文件 30)"
timeout 10 xdotool windowfocus --sync "$dialog" || fail "waited 10 s for the dialog to take the focus"
# Prints the editor's visible windows other than $1 and $2 (a message box of the dialog).
other_windows() {
  for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
    [ "$id" = "$1" ] || [ "$id" = "$2" ] || echo "$id"
  done
}

# The file-name box has the focus and the dialog shows the Desktop folder. xdotool types each
# Chinese character through a keycode it remaps for that character, and on a busy machine the
# dialog may read one too late and lose it; it then says that no such file exists, the box is
# closed and the name typed again. Return may first only close the completion list under the
# name, so it is pressed again while the dialog stays without a message.
chosen=0
for attempt in 1 2 3 4 5; do
  timeout 5 xdotool windowfocus --sync "$dialog" 2>/dev/null || break
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 60 "$song_name"
  for _ in 1 2; do
    sleep 0.3
    timeout 5 xdotool windowfocus --sync "$dialog" key Return 2>/dev/null || break
    message=""
    for _ in $(seq 30); do
      [ -s "$work/report.txt" ] && chosen=1 && break 3
      message="$(other_windows "$main" "$dialog" | head -n 1)"
      [ -n "$message" ] && break
      sleep 0.1
    done
    if [ -n "$message" ]; then
      echo "the dialog did not find the typed song name (try $attempt); typing it again" >&2
      timeout 5 xdotool windowfocus --sync "$message" key Return 2>/dev/null || true
      sleep 0.3
      break
    fi
  done
done
# The dialog may have closed just as it was looked at; the report follows it.
for _ in $(seq 50); do
  [ -s "$work/report.txt" ] && chosen=1 && break
  sleep 0.1
done
((chosen)) || fail "waited for the open-audio dialog to take the song in 5 tries, and 5 s more"
grep -qx 'lines=9' "$work/report.txt" || fail "sample not loaded: $(grep '^lines=' "$work/report.txt")"

# The window drops in from the top at start; it has arrived when its place stops changing.
previous=""
for _ in $(seq 50); do
  place="$(xdotool getwindowgeometry "$main")"
  [ "$place" = "$previous" ] && break
  previous="$place"
  sleep 0.2
done
eval "$(xdotool getwindowgeometry --shell "$main")"
((WIDTH == 530 && HEIGHT == 685)) || fail "the main window is ${WIDTH}x${HEIGHT}, not 530x685"
timeout 10 xdotool windowfocus --sync "$main" || fail "waited 10 s for the main window to take the focus"

# Clicks window point $1, $2 and moves the pointer off the window again, so that no control is
# shown hovered in a screenshot.
click() {
  xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1
  xdotool mousemove --sync 1 1
}
# Writes window area $1 (WxH+x+y, window coordinates) of a fresh capture to file $2.
capture_area() {
  local size="${1%%+*}" offset="${1#*+}"
  import -window root -crop "${size}+$((X + ${offset%%+*}))+$((Y + ${offset#*+}))" +repage "$2"
}
# Microseconds of the wall clock.
now_us() { echo "${EPOCHREALTIME/./}"; }
# Number of pixels that differ between two pictures of the same size.
changed_pixels() {
  local count
  count="$(compare -metric AE "$1" "$2" null: 2>&1 || true)"
  echo "${count%%.*}"
}

# The first sung line, below the three header lines (the list starts at y 155, 20 pixels a
# line), is selected; then 播放 on the playback toolbar starts the song.
click 100 $((155 + 3 * 20 + 10))
clock_area="110x18+0+548"
click 192 65
# The clock holds at 00:00.00 until the sound output plays; then the status bar's time changes
# at every look. The click itself changes that text once, so two changes in a row are needed.
capture_area "$clock_area" "$work/clock0.png"
changes=0
deadline=$(($(now_us) + 10000000))
for ((k = 1; $(now_us) < deadline; k++)); do
  sleep 0.05
  capture_area "$clock_area" "$work/clock$((k % 2)).png"
  if (($(changed_pixels "$work/clock0.png" "$work/clock1.png") > 0)); then
    changes=$((changes + 1))
    ((changes < 2)) || break
  else
    changes=0
  fi
done
((changes >= 2)) || fail "waited 10 s for the play clock to run after a click on 播放"
# F5 at the start of each of the first three lines; the fourth is then selected.
begin="$(now_us)"
for i in 0 1 2; do
  wait_us=$((begin + i * slot * 1000000 - $(now_us)))
  ((wait_us <= 0)) || sleep "$((wait_us / 1000000)).$(printf '%06d' $((wait_us % 1000000)))"
  xdotool key --clearmodifiers F5
done
sleep 1
import -window "$main" "$out/main-window.png" || fail "no capture of the main window"
# The other three lines get their stamps too, for the waveform window's marks.
for i in 3 4 5; do
  wait_us=$((begin + i * slot * 1000000 - $(now_us)))
  ((wait_us <= 0)) || sleep "$((wait_us / 1000000)).$(printf '%06d' $((wait_us % 1000000)))"
  xdotool key --clearmodifiers F5
done

# F2 restarts the song in test play. The curtain closes over the band above the status bar,
# and the line of the current second shows in the display box and is selected: the second
# sung line (list row 4) once the clock has reached its second.
curtain_area="524x50+0+492"
capture_area "$curtain_area" "$work/band0.png"
xdotool key --clearmodifiers F2
selected=0
deadline=$(($(now_us) + 15000000))
while (($(now_us) < deadline)); do
  sleep 0.1
  capture_area "1x1+300+$((155 + 4 * 20 + 10))" "$work/row.png"
  read -r r g <<<"$(convert "$work/row.png" -format '%[fx:int(255*r)] %[fx:int(255*g)]' info:)"
  # A selected row is the skin's jade, an unselected one white.
  if ((g - r > 60)); then
    selected=1
    break
  fi
done
((selected)) || fail "waited 15 s for test play to select the second sung line"
sleep 0.5
capture_area "$curtain_area" "$work/band1.png"
closed="$(changed_pixels "$work/band0.png" "$work/band1.png")"
((closed > 5000)) || fail "the test-play curtain has not closed (${closed} pixels changed)"
import -window "$main" "$out/test-play.png" || fail "no capture of the main window in test play"

# F8 opens the waveform window while test play goes on. It shows the whole song; it is captured
# once the play cursor has passed the middle of the view, between the marks of the fourth and the
# fifth sung line, the fourth line current in test play and its mark red.
xdotool key --clearmodifiers F8
waveform="$(window_named "波形 - $song_name" 10)"
# The x of the play cursor in picture $1 (its green in the row 5 pixels above the bottom), or -1.
cursor_x() {
  convert "$1" -crop "x1+0+$(($(identify -format %h "$1") - 5))" +repage txt:- |
    awk -F'[,:]' '!found && /#60F060/ { print $1; found = 1 } END { if (!found) print -1 }'
}
captured=0
deadline=$(($(now_us) + 15000000))
while (($(now_us) < deadline)); do
  import -window "$waveform" "$work/waveform.png" || fail "no capture of the waveform window"
  x="$(cursor_x "$work/waveform.png")"
  if ((x * 100 >= $(identify -format %w "$work/waveform.png") * 58)); then
    captured=1
    break
  fi
  sleep 0.2
done
((captured)) || fail "waited 15 s for the waveform window's play cursor to pass the middle"
cp "$work/waveform.png" "$out/waveform.png"
# Pixels of colour $2 in picture $1.
pixels_of() {
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:int(mean*w*h)]' info:
}
wave="$(pixels_of "$out/waveform.png" '#5aaae6')"
marks="$(pixels_of "$out/waveform.png" '#e6a43c')"
selected="$(pixels_of "$out/waveform.png" '#ff5050')"
cursor="$(pixels_of "$out/waveform.png" '#60f060')"
((wave > 2000)) || fail "the waveform window shows no waveform (${wave} pixels of it)"
((marks > 500 && selected > 200)) ||
  fail "the waveform window lacks its marks (${marks} pixels, ${selected} of the current line's)"
((cursor > 100)) || fail "the waveform window shows no play cursor (${cursor} pixels)"

# Ctrl+Y (退出) ends the editor; it is a key of the main window.
timeout 10 xdotool windowfocus --sync "$main" || fail "waited 10 s for the main window to take the focus"
xdotool key --clearmodifiers ctrl+y
wait_for_editor_end 10 "after Ctrl+Y"
[ "$status" -eq 0 ] || fail "the editor ended with status $status"
echo "screenshots written: $out/main-window.png $out/test-play.png $out/waveform.png"
