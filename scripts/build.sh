#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh [FOLDER] [cmake options...]
# SULCO_TARGETS="a b" builds only those targets.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shift || true
cmake -S "$top" -B "$build" -G Ninja "$@" >/dev/null
targets=()
for t in ${SULCO_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
