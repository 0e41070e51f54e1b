#!/usr/bin/env bash
# Installs what is missing, builds, and starts Sulcovane with the receiver simulator.
# With a desktop it opens a 480 x 640 window; without one it serves the same screen over VNC.
# Extra arguments go to sulcomain (for example --size 240x320 or --language de).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSULCO_TESTS=OFF >/dev/null
args=(--simulate)
case " $* " in *" --size "*) ;; *) args+=(--size 480x640) ;; esac
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No desktop here: serving the screen over VNC on port 5900."
    echo "Connect with a VNC viewer to $(hostname -I 2>/dev/null | awk '{print $1}'):5900 (or localhost:5900)."
    exec "$top/build/sulcomain" "${args[@]}" "$@" -platform vnc:size=480x640:port=5900
fi
exec "$top/build/sulcomain" "${args[@]}" "$@"
