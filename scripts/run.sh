#!/usr/bin/env bash
# Installs what is missing, builds Velmora and starts it. The program's folder
# is build/bin: its settings and its embedded databases (Baze/) live there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target velmora
exec build/bin/velmora "$@"
