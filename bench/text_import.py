#!/usr/bin/python3
"""Whole-process text import against pandas, in the same run.

    /usr/bin/python3 bench/text_import.py build/test/lyrtool [RUNS]

Writes 1,048,576 numbers (about 7.3 MB) and a waveform of as many samples at
10 ns, then times, in turn, the whole process
`lyrtool edit in.lyr out.lyr external --source big.txt --interval 10ns` and the
call `pandas.read_csv(big.txt, header=None, engine="c")`, and prints the
medians and the ratio (the aim is at most 0.5).
"""
import math
import os
import statistics
import subprocess
import sys
import tempfile
import time

import pandas


def main():
    lyrtool = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    with tempfile.TemporaryDirectory() as d:
        big = os.path.join(d, 'big.txt')
        with open(big, 'w') as f:
            f.write('\n'.join('%.4f' % (0.5 + 0.4999 * math.sin(i * 0.001)) for i in range(1048576)))
            f.write('\n')
        wave = os.path.join(d, 'in.lyr')
        subprocess.run([lyrtool, 'new', wave, '--sampling', '10ns', '--count', '1048576'], check=True,
                       stdout=subprocess.DEVNULL)
        command = [lyrtool, 'edit', wave, os.path.join(d, 'out.lyr'), 'external', '--source', big,
                   '--interval', '10ns']
        ours, theirs, ratios = [], [], []
        for i in range(runs + 1):
            t = time.perf_counter()
            subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
            a = time.perf_counter() - t
            t = time.perf_counter()
            frame = pandas.read_csv(big, header=None, engine='c')
            b = time.perf_counter() - t
            assert len(frame) == 1048576
            if i == 0:
                continue  # warm-up
            ours.append(a)
            theirs.append(b)
            ratios.append(a / b)
        size = os.path.getsize(big) / 1e6
        print('text of 1,048,576 numbers, %.1f MB, %d runs each' % (size, runs))
        print('lyrtool edit external (whole process): median %.1f ms (min %.1f)' %
              (1000 * statistics.median(ours), 1000 * min(ours)))
        print('pandas.read_csv (the call):            median %.1f ms (min %.1f)' %
              (1000 * statistics.median(theirs), 1000 * min(theirs)))
        print('ratio pair by pair: median %.2f (min %.2f, max %.2f); aim <= 0.5' %
              (statistics.median(ratios), min(ratios), max(ratios)))


if __name__ == '__main__':
    main()
