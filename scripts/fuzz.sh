#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in ./build-fuzz
# and runs each for a few seconds (FUZZ_SECONDS, default 5). Fails on the first finding.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-5}
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTP_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$sanitizers" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target tp_fuzzers
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
for fuzzer in build-fuzz/fuzz/tp_fuzz_*; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    mkdir -p "$corpus/$name"
    echo "Fuzzing $name for $seconds s"
    "$fuzzer" -max_total_time="$seconds" -print_final_stats=0 "$corpus/$name" 2>"$corpus/$name.log" ||
        { tail -n 40 "$corpus/$name.log"; exit 1; }
done
