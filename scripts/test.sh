#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test with the services they need
# (UTF-8 locales, a PulseAudio server with a null sink); runs each fuzz target of the byte
# parsers for $FUZZ_SECONDS seconds (10 unless set); then builds the editor and its tests a
# second time with AddressSanitizer and UBSan and runs them all again.
# Arguments are passed to both CTest runs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
sanitize_build="${SANITIZE_BUILD_DIR:-$root/build-asan}"
"$root/scripts/install-deps.sh"

# Generates locale `$1` (e.g. zh_CN.UTF-8) unless it exists already.
ensure_locale() {
  local name="$1" normalised
  normalised="$(echo "${1%%.*}.utf8" | tr '[:upper:]' '[:lower:]')"
  locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | grep -qx "$normalised" && return
  local sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" sed -i "s/^# *${name} UTF-8/${name} UTF-8/" /etc/locale.gen
  grep -q "^${name} UTF-8" /etc/locale.gen || echo "${name} UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
  locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | grep -qx "$normalised" ||
    { echo "locale $name could not be generated" >&2; exit 1; }
}

# Everything started from here runs under a UTF-8 locale, whatever the caller's environment
# sets (X window titles, file names and the tests' Chinese texts need one); the locale test
# needs zh_CN.UTF-8 besides.
ensure_locale C.UTF-8
ensure_locale zh_CN.UTF-8
export LANG=C.UTF-8 LC_ALL=C.UTF-8

"$root/scripts/services.sh" start
trap '"$root/scripts/services.sh" stop' EXIT

BUILD_DIR="$build" "$root/scripts/build.sh"
(cd "$build" && ctest --output-on-failure --timeout 300 "$@")

FUZZ_SECONDS="${FUZZ_SECONDS:-10}" "$root/scripts/fuzz.sh"

BUILD_DIR="$sanitize_build" SANITIZE=1 "$root/scripts/build.sh"
(cd "$sanitize_build" && ctest --output-on-failure --timeout 300 -j2 "$@")
