#!/usr/bin/env bash
# Builds the Debian package of both programs: build-deb/dromvelpro_<version>_amd64.deb.
# Install it with: sudo apt install ./build-deb/dromvelpro_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
# A build of its own, for /usr, without the tests and benchmarks.
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DDROMVEL_BUILD_TESTS=OFF -DDROMVEL_BUILD_BENCH=OFF
cmake --build build-deb -j"$(nproc)"
(cd build-deb && cpack -G DEB)
ls -1 build-deb/dromvelpro_*.deb
