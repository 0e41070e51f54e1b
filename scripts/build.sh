#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh [FOLDER] [cmake options...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shift || true
cmake -S "$top" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
