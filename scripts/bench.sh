#!/usr/bin/env bash
# Builds and runs every benchmark program; the start-up benchmark runs under a virtual X server
# when one is available, so that it measures a real first window.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/build.sh"
# heard_clock_bench and waveform_play_bench play through the tests' PulseAudio server; a server
# started here for them is stopped again at the end, one that was running is left alone.
started_pulse=0
if ! pactl info >/dev/null 2>&1; then
  "$root/scripts/services.sh" start && started_pulse=1
fi
trap '[ "$started_pulse" = 1 ] && "$root/scripts/services.sh" stop' EXIT
status=0
for program in "$build"/bench/*_bench; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  # These start the real editor, or show its waveform window, which needs a display.
  case "$(basename "$program")" in
    startup_bench | heard_clock_bench | key_lag_bench | waveform_play_bench) windowed=1 ;;
    *) windowed=0 ;;
  esac
  if [ "$windowed" = 1 ] && command -v xvfb-run >/dev/null; then
    env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1024x768x24" "$program" || status=1
  else
    "$program" || status=1
  fi
done
exit "$status"
