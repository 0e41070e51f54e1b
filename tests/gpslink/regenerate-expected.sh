#!/usr/bin/env bash
# Writes the fixes of every captured receiver log, as nmeadump prints them, into expected/.
# Review the difference (git diff tests/gpslink/expected) before committing it.
#   tests/gpslink/regenerate-expected.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
build=${1:-$top/build}
logs=$top/tests/data/nmea-logs
cmake --build "$build" --target nmeadump >/dev/null
mkdir -p "$here/expected"
for log in "$logs"/*.log; do
    name=$(basename "$log" .log)
    "$build/nmeadump" "$log" >"$here/expected/$name.fixes"
done
echo "wrote $(ls "$here/expected" | wc -l) files into $here/expected"
