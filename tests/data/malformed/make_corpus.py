#!/usr/bin/env python3
"""Writes the malformed waveform files of this folder: each one must be
refused by both readers (current and legacy) without harm. Run it from any
folder; it writes beside itself. Inputs kept from fuzzing (crash-*, fuzz-*)
are not touched."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def header(units, count, unit=10, total=None, version=3, resolution=12, seal=True):
    h = bytearray(1024)
    if total is None:
        total = ((unit * units) & 0xFFFFFFFF) * count
    struct.pack_into('<QIIII', h, 0, total & 0xFFFFFFFFFFFFFFFF, units, count, unit, 0)
    h[36:108] = b'        ' * 9
    h[132:148] = b' ' * 16
    settings = [0, 0, 0, 0, 0, 0, 0, 0, 1, 0, resolution]
    struct.pack_into('<11I', h, 860, *settings)
    if seal:
        struct.pack_into('<I', h, 1016, sum(h[:1016]) & 0xFFFFFFFF)
    struct.pack_into('<I', h, 1020, version)
    return h


def block(seal=True):
    b = bytearray(4096)
    struct.pack_into('<q', b, 0, 1000)
    if seal:
        struct.pack_into('<I', b, 4092, sum(b[:4092]) & 0xFFFFFFFF)
    return b


def current(units=3, count=20, **kw):
    """A whole current file; its packed bytes are not 0/1, so that the
    legacy reader refuses it too."""
    seal_block = kw.pop('seal_block', True)
    data = header(units, count, **kw)
    data += struct.pack('<%dd' % count, *[0.25] * count)
    data += bytes([0x55]) * count
    data += block(seal_block)
    return data


def legacy(u=100, n=10, unit=20, level=None, trim=0, seal=True, total=None):
    data = header(u, n, unit=unit, version=1, total=total, seal=seal)
    data += struct.pack('<%dd' % n, *[0.5] * n)
    levels = bytearray(4 * n)
    if level is not None:
        levels[level[0]] = level[1]
    data += levels
    return data[:len(data) - trim] if trim else data


def corrupt(data, at, xor=0x01):
    data = bytearray(data)
    data[at] ^= xor
    return data


CASES = {
    'empty.lyr': b'',
    'short-1023.lyr': bytes(1023),
    'header-only.lyr': header(3, 20),
    'one-byte-more.lyr': current() + b'\0',
    'one-byte-less.lyr': current()[:-1],
    'nineteen-samples.lyr': current(count=19),
    'count-over-max.lyr': header(3, 1048577) + bytes(64),
    'count-all-ones.lyr': header(3, 0xFFFFFFFF) + bytes(64),
    'huge-count-small-file.lyr': header(1, 1048576) + bytes(1000),
    'units-zero.lyr': current(units=0),
    'units-over-max.lyr': current(units=8388609),
    'total-time-off.lyr': current(total=3 * 10 * 20 + 1),
    'header-checksum.lyr': corrupt(current(), 500),
    'block-checksum.lyr': corrupt(current(), 1024 + 9 * 20 + 8),
    'wrapping-unit.lyr': header(8388608, 1048576, unit=0xFFFFFFFF) + bytes(16),
    'resolution-20.lyr': current(resolution=20),
    'legacy-level-2.syn': legacy(level=(25, 2)),
    'legacy-level-ff.syn': legacy(level=(0, 0xFF)),
    'legacy-truncated.syn': legacy(trim=1),
    'legacy-count-9.syn': legacy(n=9),
    'legacy-count-over-max.syn': header(100, 262145, unit=20, version=1) + bytes(100),
    'legacy-count-max-tiny.syn': header(100, 262144, unit=20, version=1) + bytes(100),
    'legacy-u-zero.syn': legacy(u=0),
    'legacy-u-over-max.syn': legacy(u=16777217, unit=1),
    'legacy-checksum.syn': legacy(seal=False),
    'legacy-total-time-off.syn': legacy(total=20 * 100 * 10 + 20),
}

if __name__ == '__main__':
    for name, data in CASES.items():
        with open(os.path.join(HERE, name), 'wb') as f:
            f.write(bytes(data))
    print('wrote %d files' % len(CASES))
