#!/usr/bin/env bash
# Installs the Debian 12 packages that are missing: those the build and the program need, and with
# --tests also those the tests, the benchmarks, the fuzz build and the checks need.
set -euo pipefail

program_packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-translations-l10n libgl-dev
    libssl-dev
)
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    libxcb1-dev xvfb xauth
    python3 python3-aiosmtpd
    dovecot-core dovecot-pop3d openssl
    desktop-file-utils appstream dpkg-dev
    hyperfine msmtp curl
)

packages=("${program_packages[@]}")
case "${1:-}" in
"") ;;
--tests) packages+=("${test_packages[@]}") ;;
*) echo "usage: $0 [--tests]" >&2; exit 2 ;;
esac

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
