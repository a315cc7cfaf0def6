#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for the given time.
#   tools/fuzz.sh [seconds per target] [target...]     (default 600 seconds, every target)
# Each target starts from its seed corpus (fuzz/<target>/corpus) and keeps what it learns in
# build-fuzz/corpus/<target>; an input that breaks a target lands in build-fuzz/findings/. The executions of every
# run are summed up at the end; the script fails when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-600}"
shift || true

tools/install-deps.sh
tools/install-clang.sh

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROMVEL_FUZZ=ON \
    -DDROMVEL_BUILD_TESTS=OFF -DDROMVEL_BUILD_BENCH=OFF >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for dir in fuzz/*/; do
        name="$(basename "$dir")"
        [ -f "$dir/fuzz_$name.cpp" ] && targets+=("$name")
    done
fi
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p "$build/findings"
summary=()
failed=0
for name in "${targets[@]}"; do
    mkdir -p "$build/corpus/$name"
    log="$build/fuzz_$name.log"
    echo "== fuzz_$name: $seconds s"
    status=0
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 -timeout=20 -rss_limit_mb=2048 \
        -artifact_prefix="$build/findings/$name-" "$build/corpus/$name" "fuzz/$name/corpus" >"$log" 2>&1 ||
        status=$?
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    if [ "$status" -ne 0 ]; then
        failed=1
        summary+=("fuzz_$name: FINDING after ${runs:-?} executions, see $log and $build/findings/")
        tail -40 "$log"
    else
        summary+=("fuzz_$name: ${runs:-?} executions in $seconds s, no finding")
    fi
done
printf '%s\n' "${summary[@]}"
exit "$failed"
