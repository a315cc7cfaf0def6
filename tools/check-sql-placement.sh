#!/usr/bin/env bash
# Fails when a form (tfrm_*.cpp) or an action file (*actions.cpp) holds an SQL statement: the statements of the
# screens live in src/data, the grids' and reports' in their models' line lists.
set -euo pipefail
cd "$(dirname "$0")/.."

files=$(find src -type f \( -name 'tfrm_*.cpp' -o -name '*actions.cpp' \) | sort)
[ -z "$files" ] && exit 0
# shellcheck disable=SC2086
if grep -nE '(SELECT|UPDATE|INSERT|DELETE) ' $files; then
    echo "SQL belongs in src/data (or in a grid or report model's line list), not in a form or action file." >&2
    exit 1
fi
