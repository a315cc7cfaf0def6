#!/usr/bin/env bash
# Installs what is needed, builds everything and runs all tests.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
# The tests' second run keeps its databases on this computer's PostgreSQL server; without one (outside CI) the
# _pg tests are reported as skipped.
if ! tools/test-server.sh; then
    [ -n "${CI:-}" ] && exit 1
    echo "No PostgreSQL server for the tests: their server run is skipped." >&2
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure
