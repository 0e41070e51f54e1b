#!/usr/bin/env bash
# Regenerates every resource of the program from the sources in resources/src: the pictures
# (rsvg-convert and ImageMagick), the screen fonts (from Debian's Terminus console fonts),
# the steering sounds, the icon and the contact sheet docs/contact-sheet.png.
# The results are committed, so building the program needs none of these tools.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
for tool in rsvg-convert convert montage identify python3; do
    command -v "$tool" >/dev/null || { echo "generate.sh: $tool is missing" >&2; exit 1; }
done
mkdir -p "$here/GIF" "$here/BITMAP" "$here/FONTS" "$here/WAVE" "$here/ICON"
python3 "$here/src/images.py" "$here"
python3 "$here/src/font.py" "$here/FONTS"
python3 "$here/src/sounds.py" "$here/WAVE"
python3 "$here/src/contact_sheet.py" "$here" "$top/docs/contact-sheet.png"
echo "resources regenerated"
