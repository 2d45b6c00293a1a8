#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Vantora Market Pro with its tests and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."

# The install test validates the desktop entry and the AppStream metadata.
bash scripts/deps.sh desktop-file-utils appstream
# VANTORA_CMAKE_ARGS adds settings of its own (CI: warnings as errors).
# shellcheck disable=SC2086
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTORA_BENCHMARKS=ON \
  ${VANTORA_CMAKE_ARGS:-} >/dev/null
cmake --build build-tests -j"$(nproc)"
cd build-tests
ctest --output-on-failure -j"$(nproc)" "$@"
