#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the tests and the screenshots need, if any is missing
# (the keyring test's own session bus and wallet: dbus-daemon, dbus-bin, python3-dbus, python3-gi);
# packages named as arguments too (bash scripts/deps.sh lintian).
set -euo pipefail

packages=(cmake g++ ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
          qt6-webengine-dev qt6-charts-dev libqt6svg6 libgl-dev libsqlite3-dev xvfb xauth fonts-dejavu-core
          sqlite3 libicu-dev qtkeychain-qt6-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
          qt6-translations-l10n poppler-utils locales
          dbus-daemon dbus-bin python3-dbus python3-gi)
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

# The tests run under a German and a US locale as well as C.UTF-8.
missing_locales=()
for l in de_DE en_US; do
  locale -a 2>/dev/null | grep -qi "^$l.utf-\?8$" || missing_locales+=("$l")
done
if [ ${#missing_locales[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  for l in "${missing_locales[@]}"; do
    $sudo sed -i "s/^# *\($l.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$l.UTF-8 UTF-8" /etc/locale.gen || echo "$l.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  done
  $sudo locale-gen >/dev/null
fi
