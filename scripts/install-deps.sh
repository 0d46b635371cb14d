#!/usr/bin/env bash
# Installs every Debian package that Velmora's build, tests and program need.
# Safe to run again: it only calls apt-get when a package is missing.
set -euo pipefail

packages=(
    # toolchain
    g++ cmake ninja-build pkg-config git
    # libraries the program links
    qt6-base-dev libgl-dev libsqlite3-dev libpq-dev libicu-dev
    libxlsxwriter-dev libarchive-dev libcurl4-openssl-dev
    libkainjow-mustache-dev libsodium-dev
    # what the program uses at run time
    fonts-dejavu-core xdg-utils
    # tests: a real PostgreSQL server, libFuzzer, a desktop to look at
    postgresql clang libclang-rt-14-dev xvfb xauth
    # tests: a real reader of the spreadsheets the program writes
    python3-openpyxl
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
