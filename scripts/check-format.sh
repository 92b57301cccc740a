#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it with the root's .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror ||
    { echo "Some files are not formatted; run clang-format -i on the files named above." >&2; exit 1; }
