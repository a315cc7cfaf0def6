#!/usr/bin/env bash
# Builds the programs and the whole test suite with clang under AddressSanitizer and UndefinedBehaviorSanitizer in
# build-sanitize and runs every test there. A memory error, a leak or undefined behaviour fails the test it
# happens in. Arguments go to ctest (for example -R test_engine).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
tools/install-clang.sh

build=build-sanitize
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROMVEL_SANITIZE=ON \
    -DDROMVEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

# Leaks inside the system's libraries (fonts, the X and D-Bus clients) are theirs, not the program's.
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The server run of the tests (_pg) is left out here: it runs the same program code as the SQLite run apart from
# the engine's server branch, whose own test (test_serveraddress) runs here, and under the sanitizers it would
# double the stage's time.
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 1800 -E '_pg$' "$@"
