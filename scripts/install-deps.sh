#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need, when any is missing.
set -euo pipefail

packages=(
    cmake g++ make pkg-config clang libclang-rt-14-dev
    qt6-base-dev qt6-translations-l10n libgl-dev libxcb1-dev xvfb xauth
    libgtest-dev libgmock-dev libbenchmark-dev
    python3 python3-aiosmtpd
    dovecot-core dovecot-pop3d
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
