#!/usr/bin/env bash
# Configures and builds the editor, its tests and benchmarks into build/ (or $BUILD_DIR).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  -DLRC_WARNINGS_AS_ERRORS="$werror" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
