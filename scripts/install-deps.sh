#!/usr/bin/env bash
# Installs what building, running and testing Sulcovane needs on Debian 12, when it is missing.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-qpa-plugins fonts-dejavu-core
    libgdal-dev libgeos-dev gdal-bin libproj-dev proj-bin libshp-dev libasound2-dev
    libgtest-dev libgmock-dev clang-14 libclang-rt-14-dev llvm-14 clang-format-14
    gpsd gpsd-clients libcairo2-dev xvfb xauth x11-utils locales
    rtklib
    # the farm book's tests: GDAL's GeoPackage validator (validate_gpkg.py) and the SQLite shell
    python3-gdal sqlite3
    # resources/generate.sh (pictures, the Terminus fonts) and scripts/screenshots.sh
    librsvg2-bin console-setup xdotool x11-apps
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
# The tests run under a German locale too: number formatting must not follow it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$'; then
    $sudo sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    $sudo locale-gen >/dev/null
fi
