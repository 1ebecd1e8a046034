# shellcheck shell=bash
# Sourced by the scripts that start the real editor and watch it from outside (the smoke, skin,
# saved-lyrics kill and install tests, and scripts/screenshots.sh): the UTF-8 locale, the run
# under a virtual X server, the scratch folder and the bounded waits on the editor's process.
# The editor's process id is kept in $pid while it runs. Every wait is bounded and a failure
# says what it waited for.

# The editor and the tools run under a UTF-8 locale even where the environment sets none.
use_utf8_locale() {
  if ! [[ "$(locale charmap 2>/dev/null)" =~ ^(UTF-8|utf8)$ ]]; then
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
  fi
}

# Runs script $3 again with --inside and the arguments after $3 under a virtual X server for up
# to $1 s, and exits with its status; $2 names the run for the failure.
rerun_under_xvfb() {
  local limit="$1" what="$2" script="$3"
  shift 3
  local status=0
  timeout "$limit" xvfb-run -a -s "-screen 0 1024x768x24" bash "$script" --inside "$@" ||
    status=$?
  [ "$status" -ne 124 ] || echo "FAIL: waited $limit s for $what under Xvfb to end" >&2
  exit "$status"
}

# A failure ends the script; with $fail_log set it also shows that file (the editor's output).
fail() {
  echo "FAIL: $*" >&2
  [ -n "${fail_log:-}" ] && [ -s "$fail_log" ] && echo "editor output: $(cat "$fail_log")" >&2
  exit 1
}

# Makes the scratch folder $work, removed at exit once the editor $pid (if any) is stopped with
# signal ${stop_signal:-TERM}; a script with more to undo defines cleanup_more, which runs first.
make_work_folder() {
  work="$(mktemp -d)"
  pid=""
  trap cleanup EXIT
}
cleanup() {
  if [ -n "$pid" ]; then kill "-${stop_signal:-TERM}" "$pid" 2>/dev/null || true; fi
  if declare -F cleanup_more >/dev/null; then cleanup_more; fi
  rm -rf "$work"
}

# The opening of the tests that kill the editor: the UTF-8 locale, the editor binary $1 and the
# GBK fixture $2 in $binary and $fixture, start and close bounds ($start_limit, $close_limit)
# that leave room for a sanitizer build, which starts and ends several times slower, SIGKILL
# for an editor left running, and the scratch folder.
begin_kill_test() {
  use_utf8_locale
  binary="$1"
  fixture="$2"
  start_limit=60
  close_limit=30
  stop_signal=KILL
  make_work_folder
}

# Points the editor at the PulseAudio server that answers now: these scripts replace the
# user's config and runtime folders, through which it would be found. Call it before replacing
# them. Without a server the script fails, or with "optional" goes on with a note (the editor
# then runs without sound).
use_sound_server() {
  local info status=0 problem
  info="$(LC_ALL=C timeout 10 pactl info 2>&1)" || status=$?
  PULSE_SERVER="$(sed -n 's/^Server String: //p' <<<"$info")"
  if [ "$status" -eq 0 ] && [ -n "$PULSE_SERVER" ]; then
    export PULSE_SERVER
    return 0
  fi
  unset PULSE_SERVER
  if [ "$status" -eq 124 ]; then
    problem="waited 10 s for a PulseAudio server to answer \`pactl info\`"
  else
    problem="no PulseAudio server answers \`pactl info\` (${info:-no output})"
  fi
  problem+="; \`bash scripts/services.sh start\` starts the one the tests use"
  [ "${1:-}" = optional ] || fail "$problem"
  echo "note: $problem; the editor runs without sound" >&2
}

# Waits up to $2 s for the editor's self-test report $1 to be written while the editor lives;
# the editor's output is in $work/editor.log.
wait_for_report() {
  for _ in $(seq $(($2 * 10))); do
    [ -s "$1" ] && return 0
    kill -0 "$pid" 2>/dev/null || fail "the editor exited early: $(cat "$work/editor.log")"
    sleep 0.1
  done
  fail "waited $2 s for the editor's self-test report $1; editor output: $(cat "$work/editor.log")"
}

# Prints the first visible window of the editor's process; waits up to 5 s for one.
editor_window() {
  local window=""
  for _ in $(seq 50); do
    window="$(timeout 5 xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)"
    [ -n "$window" ] && echo "$window" && return 0
    sleep 0.1
  done
  fail "waited 5 s for a visible window of the editor's process $pid"
}

# Waits up to $1 s for the editor to end ($2 says what it should have ended after, for the
# failure), then reaps it: its exit status is left in $status and $pid is cleared.
wait_for_editor_end() {
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then fail "waited $1 s for the editor to end $2"; fi
  status=0
  wait "$pid" || status=$?
  pid=""
}
