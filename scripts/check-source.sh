#!/usr/bin/env bash
# Checks of the source tree that need no build: every C++ file is formatted as .clang-format
# says, and the lower folders include nothing of the application or of the settings sheet.
# scripts/check-source.sh [FOLDER...] checks only those lower folders' includes.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
# The folders below app/ and settings/: each builds and is tested without them.
lower=(gfx gpslink corrections platform coverage guidance journal export farm nmeaout sections tools)
[ $# -eq 0 ] || lower=("$@")
clang_format=${CLANG_FORMAT:-clang-format-14}

# The tracked files in a checkout; in an unpacked source archive every file of the tree but the
# build folders' (scripts/build.sh and test.sh put them at build*/, with generated sources).
sources() {
    if git -C "$top" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git -C "$top" ls-files -z -- "$@"
    else
        local patterns=()
        for p in "$@"; do patterns+=(-o -path "./$p"); done
        find . \( -path ./.git -o -path './build*' \) -prune -o -type f \( -false "${patterns[@]}" \) \
            -printf '%P\0'
    fi
}

status=0

echo "-- formatting ($clang_format)"
if ! sources '*.cpp' '*.h' | xargs -0 -r "$clang_format" --dry-run --Werror; then
    echo "not formatted as .clang-format says: run $clang_format -i on the files above"
    status=1
fi

echo "-- includes of the lower folders (${lower[*]})"
globs=()
for folder in "${lower[@]}"; do globs+=("$folder/*.cpp" "$folder/*.h"); done
if sources "${globs[@]}" | xargs -0 -r grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](app|settings)/'; then
    echo "the lower folders must not include app/ or settings/ (the lines above)"
    status=1
fi
exit $status
