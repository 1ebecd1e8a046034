#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it (arguments go to the editor).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "${BUILD_DIR:-$root/build}/qinghe-lrc-editor" "$@"
