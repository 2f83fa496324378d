"""lyr.Unit and lyr.devices against the simulated unit, read back with lyrtool."""
import json
import os
import re
from pathlib import Path

import numpy as np
import pytest

import lyr
from conftest import lyrtool, lyrtool_message

README = Path(__file__).resolve().parents[2] / "README.md"


@pytest.fixture
def sim(tmp_path, monkeypatch):
    """The simulated unit, its state and clock in tmp_path (the simulator reads
    the environment on every call)."""
    monkeypatch.setenv("LYR_D2XX_LIBRARY", os.environ["PGXSIM"])
    monkeypatch.setenv("PGXSIM_STATE", str(tmp_path / "state"))
    monkeypatch.setenv("PGXSIM_LOG", str(tmp_path / "log"))
    monkeypatch.setenv("PGXSIM_CLOCK", str(tmp_path / "clock"))
    for v in ("PGXSIM_DEVICES", "PGXSIM_FAULT", "PGXSIM_CALIBRATION", "PGXSIM_FIRMWARE", "PGXSIM_TIMEOUT_MS"):
        monkeypatch.delenv(v, raising=False)
    (tmp_path / "clock").write_text("1000000000\n")
    return tmp_path


def status():
    return json.loads(lyrtool("status", "--json").stdout)


def test_upload_start_stop_and_status_as_lyrtool_reads_them(sim):
    w = lyr.Waveform.new(sampling="10ns", count=1000)
    w.analog[:] = np.sin(np.linspace(0, 2 * np.pi, 1000)) * 0.5
    w.resolution = 12
    with lyr.Unit() as u:
        assert u.status() == status()
        u.upload(w)
        s = u.status()
        assert s == status()
        assert s["state"] == "Ready" and s["settings"]["analogResolution"] == 12
        u.start()
        assert u.status()["state"] == "Running" and status()["running"] is True
        with pytest.raises(lyr.DeviceError) as e:
            u.upload(w)
        w.save(sim / "w.lyr")
        assert str(e.value) == lyrtool_message("upload", sim / "w.lyr")
        assert "(refused: the unit is Running)" in str(e.value)
        u.stop()
        assert status()["running"] is False
        u.start()
        u.force_stop()
        assert u.status() == status() and status()["running"] is False
    with pytest.raises(lyr.DeviceError, match="closed"):
        u.status()


def test_upload_sends_the_same_samples_as_lyrtool(sim, tmp_path):
    w = lyr.Waveform.new(sampling="10ns", count=500)
    w.analog[:] = np.linspace(-1, 1, 500)
    w.digital[:] = np.arange(500) % 256
    w.save(tmp_path / "w.lyr")
    with lyr.Unit() as u:
        u.upload(w)
    ours = (tmp_path / "state").read_bytes()
    lyrtool("upload", tmp_path / "w.lyr")
    theirs = (tmp_path / "state").read_bytes()
    # Everything the unit holds but its count of exchanged frames (bytes 120..127).
    assert ours[:120] + ours[128:] == theirs[:120] + theirs[128:]
    assert ours[128:] != bytes(len(ours) - 128)


def test_devices_and_serials(sim, monkeypatch):
    monkeypatch.setenv("PGXSIM_DEVICES", "S-ONE:PGX-500,X:FT232R,S-TWO:PGX-500")
    assert lyr.devices() == lyrtool("devices").stdout.split() == ["S-ONE", "S-TWO"]
    with lyr.Unit(serial="S-TWO") as u:
        assert u.status()["state"] == "NotSetUp"
    with pytest.raises(lyr.DeviceError) as e:
        lyr.Unit(serial="S-THREE")
    assert str(e.value) == lyrtool_message("status", "--serial", "S-THREE")
    monkeypatch.setenv("PGXSIM_DEVICES", "X:FT232R")
    assert lyr.devices() == []


def test_without_library_every_call_names_it(sim, monkeypatch):
    monkeypatch.setenv("LYR_D2XX_LIBRARY", "/nonexistent/libftd2xx.so")
    expected = lyrtool_message("devices")
    assert "no D2XX library" in expected
    for call in (lyr.devices, lyr.Unit):
        with pytest.raises(lyr.DeviceError) as e:
            call()
        assert str(e.value) == expected


def test_readme_example_runs(sim, tmp_path, monkeypatch, capsys):
    text = README.read_text(encoding="utf-8")
    section = text[text.index("## Python module"):]
    code = re.search(r"```python\n(.*?)```", section, re.S).group(1)
    monkeypatch.chdir(tmp_path)
    exec(compile(code, "README example", "exec"), {})
    printed = capsys.readouterr().out
    assert "'state': 'Running'" in printed
    assert status()["running"] is True
    assert lyrtool("info", tmp_path / "chirp.lyr").returncode == 0
