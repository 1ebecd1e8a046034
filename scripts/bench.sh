#!/usr/bin/env bash
# Builds everything and runs every benchmark program (bench/*, built as *_bench).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
BUILD_TYPE="${BUILD_TYPE:-Release}" "$root/scripts/build.sh"
status=0
for program in "$build"/*_bench; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  "$program" || status=1
done
exit "$status"
