#!/usr/bin/env bash
# Installs what the program needs, builds the program alone, and starts Tickerpost.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
exec build/tickerpost
