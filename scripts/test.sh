#!/usr/bin/env bash
# Installs what is missing, checks the formatting and the levels, builds with the tests (a warning is
# an error), runs every test through CTest, and fuzzes each reader for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --tests
bash scripts/check-format.sh
python3 scripts/check-levels.py
bash scripts/build.sh --tests
cd build
ctest --output-on-failure -j"$(nproc)"
cd ..
bash scripts/check-install.sh
bash scripts/fuzz.sh
