#!/usr/bin/env bash
# Installs what is needed, builds, and starts DromvelPro on its default ini file and databases.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target DromvelPro

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Nincs grafikus kijelző (DISPLAY). Virtuális kijelzőn így indítható:" >&2
    echo "    xvfb-run -a build/src/shell/DromvelPro" >&2
    exit 1
fi
exec build/src/shell/DromvelPro "$@"
