#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the tests and the screenshots need, if any is missing;
# packages named as arguments too (bash scripts/deps.sh lintian).
set -euo pipefail

packages=(cmake g++ ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
          qt6-webengine-dev qt6-charts-dev libqt6svg6 libgl-dev libsqlite3-dev xvfb xauth fonts-dejavu-core
          sqlite3)
missing=()
packages+=("$@")
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
