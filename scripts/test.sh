#!/usr/bin/env bash
# Installs what is missing, builds Velmora with its tests and runs every test:
# the unit and window tests, the database tests on SQLite and on a PostgreSQL
# server the run starts itself, and a short fuzzing run of the SQL rewriter.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 600 -j "$(nproc)"

# The rewriter must survive any text: a fuzzing run from the seed statements.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_FUZZ=ON
cmake --build build-fuzz --target rewriter_fuzz
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp fuzz/corpus/rewriter/* "$corpus"/
build-fuzz/bin/rewriter_fuzz -max_total_time="${VELMORA_FUZZ_SECONDS:-30}" -timeout=5 -max_len=1024 \
    -artifact_prefix="$corpus/" "$corpus" 2>&1 | tail -n 2
echo "rewriter fuzzing: no crash, hang or changed literal"
