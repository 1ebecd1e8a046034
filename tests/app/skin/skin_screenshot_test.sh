#!/usr/bin/env bash
# Starts the real editor under a virtual X server and keeps screenshots of the skinned window
# in <artefact dir>: skin14_main_window.png as it comes up, skin14_volume_panel.png with the
# volume panel called up by the pointer on the speaker picture. Checks that the skin, not the
# platform look, paints the window, and that the pointer on the picture brings the panel up.
# Usage: skin_screenshot_test.sh <editor binary> <GBK .lrc fixture> <artefact dir>
# A PulseAudio server that answers is handed to the editor; without one it runs without sound.
# Every wait is bounded and a failure says what it waited for.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../support/editor_session.sh"

[ "${1:-}" = "--inside" ] || rerun_under_xvfb 100 "the skin screenshot test" "$0" "$@"
shift
binary="$1"
fixture="$2"
artefacts="$3"
mkdir -p "$artefacts"

make_work_folder
use_sound_server optional

unset QT_QPA_PLATFORM
export LANG=C.UTF-8 XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export LRC_EDITOR_SELFTEST_REPORT="$work/report.txt"
"$binary" "$fixture" >"$work/editor.log" 2>&1 &
pid=$!

wait_for_report "$work/report.txt" 20
window="$(editor_window)"
eval "$(xdotool getwindowgeometry --shell "$window")"
# Lets the first paint finish.
sleep 0.5

# Red, green and blue of the screenshot's pixel at window point x, y.
pixel() {
  convert "$1" -format '%[fx:int(255*p{'"$((X + $2))"','"$((Y + $3))"'}.r)] %[fx:int(255*p{'"$((X + $2))"','"$((Y + $3))"'}.g)] %[fx:int(255*p{'"$((X + $2))"','"$((Y + $3))"'}.b)]' info:
}

main="$artefacts/skin14_main_window.png"
import -window root "$work/root.png"
convert "$work/root.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$main"

# The menu bar is jade and the window's own surface a green-tinted mist; the platform look
# paints both a neutral grey.
read -r r g b <<<"$(pixel "$work/root.png" 3 3)"
((g - r > 60)) || fail "menu bar is not the skin's jade: $r,$g,$b"
read -r r g b <<<"$(pixel "$work/root.png" 505 503)"
((g - r >= 6 && r > 200)) || fail "window surface is not the skin's mist: $r,$g,$b"

# The pointer on the speaker picture (client 7,531, below the 23-pixel menu bar) calls up the
# volume panel, which covers the status bar.
xdotool mousemove --sync $((X + 7 + 12)) $((Y + 23 + 531 + 12))
xdotool mousemove --sync $((X + 7 + 13)) $((Y + 23 + 531 + 13))
sleep 0.5
panel="$artefacts/skin14_volume_panel.png"
import -window root "$work/root2.png"
convert "$work/root2.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$panel"
area="453x39+$((X + 35))+$((Y + 23 + 525))"
convert "$work/root.png" -crop "$area" +repage "$work/before.png"
convert "$work/root2.png" -crop "$area" +repage "$work/after.png"
changed="$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1 || true)"
((${changed%%.*} > 2000)) || fail "the volume panel did not come up (${changed} pixels changed)"

echo "skin screenshots kept: $main $panel (${changed} pixels of the panel area changed)"
