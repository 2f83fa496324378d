#!/usr/bin/env bash
# Builds LYR (Release) and starts the editor. Arguments go to the editor.
set -eu
cd "$(dirname "$0")"
. scripts/deps.sh
lyr_install_deps
lyr_build build/release Release -DLYR_BUILD_TESTS=OFF -DLYR_BUILD_BENCH=OFF
# Without the vendor's D2XX library the editor talks to the simulated PGX-500.
if [ -z "${LYR_D2XX_LIBRARY:-}" ] && ! ldconfig -p 2>/dev/null | grep -q libftd2xx.so \
   && [ -f build/release/libpgxsim.so ]; then
  export LYR_D2XX_LIBRARY="$PWD/build/release/libpgxsim.so"
  export PGXSIM_STATE="${PGXSIM_STATE:-${XDG_RUNTIME_DIR:-/tmp}/pgxsim-state}"
  echo "No D2XX library installed: using the simulated PGX-500 ($LYR_D2XX_LIBRARY)"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: starting under xvfb-run"
  exec xvfb-run -a -s "-screen 0 1600x1000x24" build/release/lyr "$@"
fi
exec build/release/lyr "$@"
