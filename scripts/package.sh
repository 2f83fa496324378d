#!/usr/bin/env bash
# Builds the Debian package of LYR (lyr, lyrtool, the Python module lyr, the
# simulated unit, menu entry, icon, file types, manual page) into
# build/package/package/ and lists what it holds.
set -eu
cd "$(dirname "$0")/.."
. scripts/deps.sh
lyr_install_deps
dir=build/package
lyr_build "$dir" Release -DLYR_BUILD_TESTS=OFF -DLYR_BUILD_BENCH=OFF
(cd "$dir" && cpack -G DEB)
deb=$(ls -t "$dir"/package/*.deb | head -n 1)
echo "$deb"
dpkg-deb --field "$deb"
dpkg-deb --contents "$deb"
