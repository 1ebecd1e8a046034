#!/usr/bin/env bash
# Starts or stops the local services the tests use: a PulseAudio server with a null sink.
# A server that was already running (a developer's own) is used as it is and never stopped.
set -uo pipefail
marker="${TMPDIR:-/tmp}/qinghe-lrc-editor-tests-$(id -u).pulse"
case "${1:-}" in
  start)
    if ! pactl info >/dev/null 2>&1; then
      pulseaudio -n --daemonize=yes --exit-idle-time=-1 --disallow-exit --log-target=stderr \
        --load=module-native-protocol-unix --load="module-null-sink sink_name=ci_null" 2>/dev/null
      for _ in $(seq 50); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
      done
      touch "$marker"
    fi
    pactl info >/dev/null 2>&1 || { echo "PulseAudio did not start" >&2; exit 1; }
    ;;
  stop)
    if [ -e "$marker" ]; then
      rm -f "$marker"
      pulseaudio --kill 2>/dev/null || true
    fi
    ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
