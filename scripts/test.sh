#!/usr/bin/env bash
# Installs what is missing, builds Vantora Market Pro with its tests and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-tests -j"$(nproc)"
cd build-tests
ctest --output-on-failure -j"$(nproc)" "$@"
