#!/usr/bin/env bash
# Whole-process start-up of the editor against a bare Qt window with a menu
# bar (minimal_window.cpp beside this script), both under ONE Xvfb, in alternating
# runs:
#   minimal   the bare window mapped
#   empty     the editor's main window mapped, no file
#   file      the editor started with a 1,048,576-sample file: window mapped,
#             and the file's name in the window title
# Each run ends the program (after SETTLE_MS, default 500) and takes its peak
# resident memory. Prints the medians and the ratios to the bare window.
#
#   bench/startup/against_minimal.sh [BUILD_DIR]   (default build/bench, built here)
#   RUNS=15 bench/startup/against_minimal.sh       (default 9 runs of each)
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD=${1:-build/bench}
RUNS=${RUNS:-9}

if [ -z "${LYR_NO_BUILD:-}" ]; then
  . scripts/deps.sh
  LYR_TARGETS="lyr lyrtool bench_minimal_window bench_watch_window" lyr_build "$BUILD" RelWithDebInfo >/dev/null
fi
LYR="$BUILD/lyr"
WATCH="$BUILD/bench/bench_watch_window"
MINIMAL="$BUILD/bench/bench_minimal_window"

WORK=$(mktemp -d)
XVFB_PID=""
cleanup() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# The file: a sine over all 1,048,576 samples.
FILE="$WORK/startup_wave.lyr"
"$BUILD/lyrtool" new "$FILE" --sampling 10ns --count 1048576 >/dev/null
"$BUILD/lyrtool" edit "$FILE" "$FILE" sine --period 10ms --sine-period 1ms --amplitude 0.8 >/dev/null

# One X server for every run; the first free display number from 90 on.
for n in $(seq 90 140); do
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do
    xwininfo -root >/dev/null 2>&1 && break
    sleep 0.05
  done
  xwininfo -root >/dev/null 2>&1 && break
  kill "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
done
[ -n "$XVFB_PID" ] || { echo "no Xvfb display could be started" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb
# No device library: the start-up does not depend on one being installed.
export LYR_D2XX_LIBRARY="$WORK/none.so"
unset LYR_LANG
# The editor's settings and lock stay in the scratch folder.
export XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
SETTINGS="$WORK/LYR.INI"

run() {  # label text program args...
  local label=$1; shift
  local out
  out=$("$WATCH" "$@") || { echo "$label: no window ($out)" >&2; return 1; }
  echo "$label $out" >>"$WORK/runs.txt"
}

# One untimed round first, so that every timed run finds the files cached.
run warm "" "$MINIMAL" && run warm "startup_wave" "$LYR" --settings "$SETTINGS" "$FILE"
for i in $(seq "$RUNS"); do
  run minimal "" "$MINIMAL"
  run empty "" "$LYR" --settings "$SETTINGS"
  run file "startup_wave" "$LYR" --settings "$SETTINGS" "$FILE"
done

/usr/bin/python3 - "$WORK/runs.txt" "$RUNS" <<'PY'
import statistics, sys
runs = {}
for line in open(sys.argv[1]):
    label, *fields = line.split()
    if label == "warm":
        continue
    values = dict(f.split("=") for f in fields)
    runs.setdefault(label, []).append({k: float(v) for k, v in values.items()})
med = {label: {k: statistics.median(r[k] for r in rs) for k in rs[0]} for label, rs in runs.items()}
m, e, f = med["minimal"], med["empty"], med["file"]
print(f"runs of each: {sys.argv[2]} (alternating, one Xvfb); medians")
print(f"minimal window   shown {m['shown_ms']:7.1f} ms   peak {m['maxrss_kb'] / 1024:6.1f} MiB")
print(f"editor           shown {e['shown_ms']:7.1f} ms   peak {e['maxrss_kb'] / 1024:6.1f} MiB")
print(f"editor + file    shown {f['shown_ms']:7.1f} ms   title {f['title_ms']:7.1f} ms   peak {f['maxrss_kb'] / 1024:6.1f} MiB")
print(f"ratio start-up to the first window      {e['shown_ms'] / m['shown_ms']:.2f}x the minimal window")
print(f"ratio start-up to the file's title      {f['title_ms'] / m['shown_ms']:.2f}x the minimal window")
print(f"peak memory with the file               minimal + {(f['maxrss_kb'] - m['maxrss_kb']) / 1024:.1f} MiB")
PY
