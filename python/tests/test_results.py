"""Batches equal single calls; results pickle and print; a local dask
cluster gives what serial calls give."""
import pickle

import numpy as np
import pytest

import kestrin
from conftest import fbm


def key(r):
    return (r.H.hex(), r.b.hex(), r.r.hex(), r.n, r.D, r.M, [v.hex() for v in r.L])


def test_estimate_many_equals_single_calls():
    rows = np.cumsum(np.random.default_rng(9).standard_normal((64, 500)), axis=1)
    for given in [rows, list(rows), [row[::-1] for row in rows]]:
        many = kestrin.estimate_many(given, D=3, M="best", threads=3)
        assert [key(r) for r in many] == [key(kestrin.estimate(y, D=3, M="best")) for y in given]
    assert kestrin.estimate_many([]) == []


def test_bootstrap_many_equals_single_calls():
    estimates = kestrin.estimate_many([fbm(256, h, 10 + i) for i, h in enumerate([0.3, 0.5, 0.7])])
    many = kestrin.bootstrap_many(estimates, replicates=16, seed=3)
    single = [e.bootstrap(replicates=16, seed=3, threads=1) for e in estimates]
    assert [(b.H_corrected, b.low, b.high) for b in many] == [(b.H_corrected, b.low, b.high) for b in single]


def test_results_pickle_and_print():
    y = fbm(600, 0.6, 4)
    doc = kestrin.Document(y)
    results = [
        kestrin.estimate(y),
        kestrin.estimate(y).bootstrap(replicates=8),
        kestrin.sliding(y, width=100, spacing=25),
        kestrin.slopes(y, size=10),
        kestrin.correlate(y, size=10, width=100, spacing=25),
        kestrin.tabs(doc, at=[200]),
    ]
    for result in results:
        copy = pickle.loads(pickle.dumps(result))
        assert repr(copy) == repr(result)
        assert type(copy).__name__ in repr(copy)
    assert key(pickle.loads(pickle.dumps(results[0]))) == key(results[0])
    assert "H=" in repr(results[0]) and "n=600" in repr(results[0])


def test_plot_fit_draws_the_fit():
    matplotlib = pytest.importorskip("matplotlib")
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    result = kestrin.estimate(fbm(500, 0.5, 2), M=6)
    fig, ax = plt.subplots()
    assert result.plot_fit(ax) is ax
    points = ax.lines[0].get_xydata()
    assert np.array_equal(points[:, 0], result.log_r) and np.array_equal(points[:, 1], result.log_L_over_r)
    plt.close(fig)


def test_as_frame_gives_a_data_frame():
    pytest.importorskip("pandas", reason="pandas is not installed")
    frame = kestrin.sliding(fbm(400, 0.5, 1), width=100, spacing=50, as_frame=True)
    assert list(frame.columns) == ["X", "H", "r", "b", "n"]


def test_local_dask_cluster_equals_serial_calls():
    distributed = pytest.importorskip("dask.distributed", reason="dask.distributed is not importable")
    series = [np.cumsum(np.random.default_rng(i).standard_normal(300)) for i in range(200)]
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=False,
                                  dashboard_address=None) as cluster, distributed.Client(cluster) as client:
        futures = client.map(kestrin.estimate, series, D=3, M=4)
        remote = client.gather(futures)
        # Results travel back pickled when the workers are processes.
        remote = [pickle.loads(pickle.dumps(r)) for r in remote]
    assert [key(r) for r in remote] == [key(kestrin.estimate(y, D=3, M=4)) for y in series]


def test_every_function_has_help_and_a_stub():
    import pathlib
    stub = (pathlib.Path(kestrin.__file__).parent / "kestrin.pyi").read_text()
    for name in ["estimate", "estimate_many", "bootstrap_many", "tabs", "sliding", "meta_h", "slopes",
                 "correlate", "profile", "extract", "read_document", "write_document", "read_text", "read_table"]:
        doc = getattr(kestrin, name).__doc__
        assert doc and ">>>" in doc, name
        assert f"def {name}(" in stub, name
