"""The Python module against the same calls in C++ (bench_python_module),
in one run, on a 1,048,576-sample file:

  open             lyr.Waveform.open  vs  lyrtool's openWaveform   (target <= 1.2x)
  edit("sine")     over every sample  vs  parseEdit + applyEdit    (target <= 1.1x)
  w.analog[:] = numpy.sin(x): the peak memory of the process grows by at most
  one array (8 MiB), measured as the kernel's high-water mark (VmHWM) after
  resetting it.

Usage (Debian's interpreter, the module of the same build):
  PYTHONPATH=build/test/python /usr/bin/python3 bench/python_module.py build/test
"""
import json
import os
import subprocess
import sys
import tempfile
import time
import timeit

import numpy as np

import lyr

N = 1048576
SINE = dict(sine_period="1ms", amplitude=0.5, phase=0, start="0ns", period="10485760ns", mode="replace")


ROUNDS, CALLS = 7, 9


# CPU time of the calling thread on both sides: the machine may be shared.
def best_ms(call, repeat=CALLS):
    call()
    return min(timeit.repeat(call, number=1, repeat=repeat, timer=time.thread_time)) * 1e3


def cpp_ms(build, path):
    """The fastest of CALLS single C++ calls of each kind."""
    out = subprocess.run([os.path.join(build, "bench", "bench_python_module"), path,
                          "--benchmark_format=json", f"--benchmark_repetitions={CALLS}"],
                         check=True, capture_output=True, text=True).stdout
    runs = json.loads(out)["benchmarks"]
    best = {}
    for r in runs:
        if r.get("run_type") == "iteration":
            name = r["name"].split("/")[0]
            best[name] = min(best.get(name, float("inf")), r["cpu_time"])
    return best["BM_Open"], best["BM_EditSine"]


def status_kib(field):
    with open("/proc/self/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    raise KeyError(field)


def peak_growth_mib(w):
    x = np.linspace(0, 2 * np.pi * 1000, w.count)
    w.analog[:] = 0.0  # the document's own pages in memory before the measurement
    with open("/proc/self/clear_refs", "w") as f:
        f.write("5")  # resets VmHWM to the current resident size
    before = status_kib("VmRSS")
    w.analog[:] = np.sin(x)
    return (status_kib("VmHWM") - before) / 1024


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build/test"
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "big.lyr")
        w = lyr.Waveform.new(sampling="10ns", count=N)
        w.analog[:] = np.sin(np.arange(N) * 0.001)
        w.digital[:] = np.arange(N) % 256
        w.save(path)
        del w

        # Python and C++ alternate in rounds so that a busy machine weighs on
        # both alike; each round compares the fastest calls, and the median
        # round is reported.
        rounds = []
        w = lyr.Waveform.open(path)
        for _ in range(ROUNDS):
            py_sine = best_ms(lambda: w.edit("sine", **SINE))
            py_open = best_ms(lambda: lyr.Waveform.open(path))
            c_open, c_sine = cpp_ms(build, path)
            rounds.append((py_open / c_open, py_sine / c_sine, py_open, c_open, py_sine, c_sine))
        growth = peak_growth_mib(lyr.Waveform.open(path))

    array_mib = N * 8 / 2**20
    for i, name, target in ((0, f"open {N} samples", 1.2), (1, f"edit sine {N} samples", 1.1)):
        r = sorted(rounds, key=lambda r: r[i])[ROUNDS // 2]
        print(f"{name:26} Python {r[2 + 2 * i]:7.2f} ms  C++ {r[3 + 2 * i]:7.2f} ms  ratio {r[i]:.3f} "
              f"(median of {ROUNDS} rounds; all: {' '.join(f'{x[i]:.2f}' for x in rounds)}; target {target})")
    print(f"w.analog[:] = numpy.sin(x): peak grew {growth:.2f} MiB, one array is {array_mib:.2f} MiB "
          f"({growth / array_mib:.2f} arrays, target 1)")


if __name__ == "__main__":
    main()
