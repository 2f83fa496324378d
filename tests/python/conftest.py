"""Fixtures for the lyr module's tests: lyrtool as the oracle, run as scripts run it."""
import json
import os
import subprocess

import pytest

LYRTOOL = os.environ["LYRTOOL"]


def lyrtool(*args, check=True, env=None):
    """Runs lyrtool; returns the CompletedProcess (text)."""
    r = subprocess.run([LYRTOOL, *map(str, args)], capture_output=True, text=True, env=env)
    if check and r.returncode != 0:
        raise AssertionError(f"lyrtool {' '.join(map(str, args))}: {r.returncode}\n{r.stderr}")
    return r


def lyrtool_message(*args, env=None):
    """lyrtool's stderr for a refused command as the module words it: each line
    without "lyrtool COMMAND: " and without the --help hint."""
    r = lyrtool(*args, check=False, env=env)
    assert r.returncode != 0, r.stdout
    lines = [l for l in r.stderr.splitlines() if l and not l.startswith("Try 'lyrtool ")]
    return "\n".join(l.split(": ", 1)[1] if l.startswith("lyrtool ") else l for l in lines)


def lyrtool_info(path):
    return json.loads(lyrtool("info", path, "--json").stdout)


@pytest.fixture
def base(tmp_path):
    """A new 1,000-sample waveform at 10 ns, written by lyrtool."""
    path = tmp_path / "base.lyr"
    lyrtool("new", path, "--sampling", "10ns", "--count", "1000")
    return path
