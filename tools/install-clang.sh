#!/usr/bin/env bash
# Installs clang with its runtime libraries (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer): needed only
# by tools/fuzz.sh and tools/sanitize.sh, not by the normal build.
set -euo pipefail

if command -v clang++ >/dev/null && dpkg-query -W -f='${Status}' libclang-rt-dev 2>/dev/null | grep -q "ok installed"; then
    exit 0
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends clang libclang-rt-dev
