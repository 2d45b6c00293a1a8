#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Vantora Market Pro and runs it. The first run creates the
# sample database. Without a display the program runs under Xvfb, saves a screenshot of the main
# window and exits.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build -j"$(nproc)"

db="${XDG_DATA_HOME:-$HOME/.local/share}/vantora/cm1.db"
# vantora-db makes the folders leading to the file, readable by their owner only.
if [ ! -e "$db" ]; then
  build/bin/vantora-db create "$db" --sample
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/vantora "$@"
fi
shot="${SCREENSHOT:-$PWD/vantora-main.png}"
echo "No display: running under Xvfb to take a screenshot of the main window."
xvfb-run -a -s "-screen 0 1280x900x24" build/bin/vantora --screenshot "$shot" "$@"
