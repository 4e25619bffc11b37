"""Shared helpers: the built kestrin-cli, its --json output, bit comparisons
and the test series (fBm of several H, the samples)."""
import json
import math
import os
import pathlib
import struct
import subprocess

import numpy as np
import pytest

SOURCE = pathlib.Path(os.environ.get("KESTRIN_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))
CLI = os.environ.get("KESTRIN_CLI", str(SOURCE / "build" / "dev" / "cli" / "kestrin-cli"))


def cli_json(*args, ok=True):
    """kestrin-cli ARGS --json, parsed; the exit status must be 0 unless ok is False."""
    run = subprocess.run([CLI, *map(str, args), "--json"], capture_output=True, text=True)
    if ok:
        assert run.returncode == 0, run.stderr
        return json.loads(run.stdout)
    return run


def bits(value):
    return struct.pack("<d", value)


def same(module_value, json_value):
    """The module's number equals the CLI's JSON number bit for bit (JSON
    writes a number that is not finite as null)."""
    if json_value is None:
        return not math.isfinite(module_value)
    return bits(float(module_value)) == bits(float(json_value))


def assert_same(module_value, json_value, what):
    assert same(module_value, json_value), f"{what}: module {float(module_value).hex()} CLI {json_value!r}"


def fbm(n, h, seed):
    """Fractional Brownian motion of n points and exponent h (Davies-Harte)."""
    rng = np.random.default_rng(seed)
    k = np.arange(n + 1)
    gamma = 0.5 * (np.abs(k - 1) ** (2 * h) - 2 * k ** (2 * h) + (k + 1) ** (2 * h))
    row = np.concatenate([gamma, gamma[-2:0:-1]])
    eig = np.clip(np.fft.fft(row).real, 0, None)
    m = len(row)
    w = rng.standard_normal(m) + 1j * rng.standard_normal(m)
    fgn = np.fft.fft(np.sqrt(eig / m) * w).real[:n]
    return np.cumsum(fgn)


def write_series(path, values):
    """One value per line, each the shortest text that reads back exactly."""
    path.write_text("".join(repr(float(v)) + "\n" for v in values))
    return path


@pytest.fixture(scope="session")
def series_files(tmp_path_factory):
    """(name, path, values) of every text series the comparisons run on."""
    folder = tmp_path_factory.mktemp("series")
    out = []
    for h, n, seed in [(0.3, 1200, 1), (0.5, 2000, 2), (0.8, 700, 3)]:
        values = fbm(n, h, seed)
        out.append((f"fbm-{h}", write_series(folder / f"fbm-{h}.txt", values), values))
    for name in ["nile-minima.txt", "nile-minima-profile.txt"]:
        path = SOURCE / "samples" / name
        values = np.array([float(line) for line in path.read_text().split()])
        out.append((name, path, values))
    return out
