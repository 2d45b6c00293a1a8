#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of Vantora Market Pro in build-package/, with Debian's own build
# flags (optimisation and hardening), and checks it with lintian. The last line printed is the
# package's path.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh dpkg-dev file lintian
# Every hardening feature, as for Debian's own packages; the fortify level comes with CPPFLAGS,
# which CMake does not read, so it joins the compiler's flags.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
rm -f build-package/vantora_*.deb
# Build type None: those flags alone decide.
# shellcheck disable=SC2086
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  ${VANTORA_CMAKE_ARGS:-} >/dev/null
cmake --build build-package -j"$(nproc)" --target package
deb=$(echo build-package/vantora_*.deb)
# No error and no warning; the remaining notes are listed too.
lintian --display-info --fail-on error,warning "$deb"
echo "$deb"
