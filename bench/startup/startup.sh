#!/usr/bin/env bash
# Start-up of the editor in Japanese and in English, whole process, offscreen:
#   bench/startup/startup.sh BUILD_DIR [hyperfine options]
# Each run ends once the main window is shown (the preloaded probe).
set -euo pipefail
build="${1:?build folder}"; shift
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
printf '[LYR]\nVersion=1.4\n[PGX-500]\nMaxNumber=2\n' > "$scratch/LYR.INI"
export QT_QPA_PLATFORM=offscreen LYR_STARTUP_PROBE=1 LD_PRELOAD="$build/bench/liblyr_startup_probe.so"
export XDG_RUNTIME_DIR="$scratch" LYR_D2XX_LIBRARY="$scratch/none.so"
unset LYR_LANG
hyperfine --warmup 3 --min-runs 30 -N "$@" \
  -n ja "$build/lyr --settings $scratch/LYR.INI --lang ja" \
  -n en "$build/lyr --settings $scratch/LYR.INI --lang en"
