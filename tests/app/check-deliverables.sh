#!/bin/sh
# check-deliverables.sh LIBRARY PROGRAM: the library exports exactly InitSatlinker,
# FinishSatlinker and SatlinkerWrite; the program needs it by name and finds it beside itself.
set -eu
exports=$(nm -D --defined-only "$1" | awk '$2 ~ /^[TDBRW]$/ {print $3}' | sort | tr '\n' ' ')
[ "$exports" = "FinishSatlinker InitSatlinker SatlinkerWrite " ] || { echo "exports: $exports"; exit 1; }
readelf -d "$2" | grep -q 'NEEDED.*\[libsatlinker.so\]' || { echo "not NEEDED"; exit 1; }
readelf -d "$2" | grep -Eq 'R(UN)?PATH.*\[\$ORIGIN\]' || { echo "no \$ORIGIN path"; exit 1; }
