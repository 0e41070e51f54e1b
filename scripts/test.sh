#!/usr/bin/env bash
# Installs what is missing, checks the sources' formatting and includes, builds and runs every
# test: the normal build (under the C and a German locale), the AddressSanitizer +
# UndefinedBehaviorSanitizer build, the ThreadSanitizer build of the threaded tests, and each
# fuzzer for a bounded time.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
fuzz_seconds=${SULCO_FUZZ_SECONDS:-60}

step() { echo; echo "==== $*"; }
# Every ctest run's output also goes here, for the closing count.
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT

step "source checks"
scripts/check-source.sh

step "normal build"
scripts/build.sh "$top/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSULCO_WERROR=ON
(cd build-test && ctest --output-on-failure -j"$jobs" --timeout 300) | tee -a "$summary"
step "normal build, German locale"
(cd build-test && LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 ctest --output-on-failure -j"$jobs" --timeout 300) | tee -a "$summary"

step "AddressSanitizer + UndefinedBehaviorSanitizer"
CC=clang-14 CXX=clang++-14 scripts/build.sh "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug \
    -DSULCO_WERROR=ON -DSULCO_SANITIZE=address,undefined
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$top/tests/lsan.supp:print_suppressions=0" \
    ctest --output-on-failure -j"$jobs" --timeout 600) | tee -a "$summary"

step "ThreadSanitizer, threaded tests"
CC=clang-14 CXX=clang++-14 SULCO_TARGETS="threaded_tests sulcomain gpssim" scripts/build.sh "$top/build-tsan" -DCMAKE_BUILD_TYPE=Debug \
    -DSULCO_WERROR=ON -DSULCO_SANITIZE=thread
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1 suppressions=$top/tests/tsan.supp" \
    ctest --output-on-failure -j"$jobs" --timeout 600 -L threaded) | tee -a "$summary"

step "fuzzers, ${fuzz_seconds} s each"
CC=clang-14 CXX=clang++-14 SULCO_TARGETS=fuzzers scripts/build.sh "$top/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSULCO_WERROR=ON -DSULCO_FUZZ=ON -DSULCO_TESTS=OFF
shopt -s nullglob
for fuzzer in build-fuzz/fuzz_*; do
    name=$(basename "$fuzzer" | sed 's/^fuzz_//')
    corpus="$top/build-fuzz/corpus-$name"
    mkdir -p "$corpus"
    seeds="$top/tests/fuzz/corpus/$name"
    [ -d "$seeds" ] || seeds=""
    echo "-- $name"
    "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" $seeds 2>&1 | tail -3
done
echo
# Totals over every run. ctest counts a skipped test (GTEST_SKIP, a skip code) as passed in its
# "N% tests passed, F tests failed out of T", and names it once more under "The following tests
# did not run:" as "(Skipped)". Tests disabled on purpose (those another test drives) are listed
# there as "(Disabled)" and are not in T, so they count nowhere. A test that should have run and
# did not fails the run.
awk '/tests passed, [0-9]+ tests failed out of/ {failed += $4; total += $NF; next}
     /^The following tests did not run:/ {listing = 1; next}
     listing && /^[[:space:]]+[0-9]+ - / {
         if ($NF != "(Disabled)") {skipped++; sub(/^[[:space:]]+/, ""); names = names "\n  " $0}
         next
     }
     {listing = 0}
     END {
         printf "tests: %d passed, %d failed, %d skipped\n", total - failed - skipped, failed, skipped
         if (skipped) {printf "skipped, but should have run:%s\n", names; exit 1}
     }' "$summary"
