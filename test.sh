#!/usr/bin/env bash
# Builds LYR with its tests and runs every test through ctest.
set -eu
cd "$(dirname "$0")"
. scripts/deps.sh
lyr_install_deps
lyr_build build/test RelWithDebInfo -DLYR_WERROR=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build/test --output-on-failure --no-tests=error --parallel "$(nproc)" "$@"
