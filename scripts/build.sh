#!/usr/bin/env bash
# Configures ./build and builds the program alone; with --tests builds everything with the tests and
# the benchmarks (TP_BENCH=OFF leaves the benchmarks out) and fails on any compiler warning.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
"")
    options=()
    targets=(--target Tickerpost)
    ;;
--tests)
    options=(-DBUILD_TESTING=ON -DTP_BENCH="${TP_BENCH:-ON}" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON)
    targets=()
    ;;
*)
    echo "usage: $0 [--tests]" >&2
    exit 2
    ;;
esac
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build build -j"$(nproc)" "${targets[@]}"
