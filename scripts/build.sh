#!/usr/bin/env bash
# Configures and builds the editor, its tests and benchmarks into build/ (or $BUILD_DIR).
# With SANITIZE=1 it builds the editor and its tests with AddressSanitizer and UBSan instead
# (no benchmarks), into build-asan/ unless $BUILD_DIR says otherwise.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
if [ "${SANITIZE:-0}" = 1 ]; then
  build="${BUILD_DIR:-$root/build-asan}"
  # The sanitizer build chooses its own optimisation; no build type adds flags to it.
  options=(-DLRC_SANITIZE=ON -DLRC_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=)
else
  build="${BUILD_DIR:-$root/build}"
  options=(-DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}")
fi
cmake -S "$root" -B "$build" -G Ninja "${options[@]}" -DLRC_WARNINGS_AS_ERRORS="$werror" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
