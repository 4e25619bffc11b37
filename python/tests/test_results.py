"""Batches equal single calls; results pickle and print; a local dask
cluster gives what serial calls give."""
import pickle

import numpy as np
import pytest

import kestrin
from conftest import SOURCE, fbm


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


def boot_key(b):
    return (repr(b), b.model, b.summary, b.notes, b.model_check_passed,
            [None if v is None else v.hex() for v in (b.H_corrected, b.low, b.high)])


def estimates_to_bootstrap():
    y = fbm(400, 0.7, 6)
    doc = kestrin.Document(y, D=3, M=5)
    return [
        kestrin.estimate(y),
        kestrin.estimate(np.diff(y), D=2, M="best"),  # noise: the decision reads the values
        kestrin.tabs(doc, at=[150]).intervals[1],
        doc.estimate,
    ]


def test_unpickled_estimate_bootstraps_bit_for_bit():
    for seed, estimate in enumerate(estimates_to_bootstrap()):
        copy = pickle.loads(pickle.dumps(estimate))
        assert key(copy) == key(estimate) and (copy.label, copy.upper_bound) == (estimate.label, estimate.upper_bound)
        boot = estimate.bootstrap(replicates=8, seed=seed)
        assert boot_key(copy.bootstrap(replicates=8, seed=seed)) == boot_key(boot)
        # The result itself travels whole: model, check and notes included.
        assert boot_key(pickle.loads(pickle.dumps(boot))) == boot_key(boot)


def documents_to_pickle():
    y = fbm(700, 0.6, 8)
    plain = kestrin.Document(y, x=np.arange(700) * 0.5 + 3.0, D=5, M=4)
    full = kestrin.Document(y)
    kestrin.tabs(full, at=[200, 450], D=3, M=6)
    kestrin.sliding(full, width=128, spacing=16, window_D=4)
    profile = kestrin.profile(full)  # holds a profile record
    kestrin.tabs(profile, at=[300])
    return [plain, full, profile, kestrin.h_data(full), kestrin.read_text(str(SOURCE / "samples" / "nile-minima.txt"))]


def document_key(doc, folder, name):
    path = folder / name
    doc.save(str(path))
    windows = doc.windows
    return (doc.x.tobytes(), doc.y.tobytes(), doc.D, doc.M, key(doc.estimate), doc.tabs,
            [(key(i), i.label, i.upper_bound) for i in doc.intervals],
            [getattr(windows, c).tobytes() for c in ["X", "H", "r", "b", "n"]], doc.spacing, doc.h_series,
            doc.has_data, doc.database, doc.table, doc.x_field, doc.y_field, doc.profile_of, path.read_bytes())


def test_document_pickles_to_an_equal_document(tmp_path):
    for i, doc in enumerate(documents_to_pickle()):
        copy = pickle.loads(pickle.dumps(doc))
        assert copy.path == doc.path and repr(copy) == repr(doc)
        # The title comes along: a profile records it as its source.
        assert kestrin.profile(copy).profile_of == kestrin.profile(doc).profile_of
        assert document_key(copy, tmp_path, f"copy-{i}.kst") == document_key(doc, tmp_path, f"doc-{i}.kst"), i


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
    y = fbm(400, 0.5, 1)
    frame = kestrin.sliding(y, width=100, spacing=50, as_frame=True)
    assert list(frame.columns) == ["X", "H", "r", "b", "n"]
    frame = kestrin.h_data(y, width=100, spacing=50, as_frame=True)
    h = kestrin.h_data(y, width=100, spacing=50)
    assert list(frame.columns) == ["X", "H"]
    assert frame["X"].to_numpy().tobytes() == h.x.tobytes() and frame["H"].to_numpy().tobytes() == h.y.tobytes()


def test_local_dask_cluster_equals_serial_calls():
    distributed = pytest.importorskip("dask.distributed", reason="dask.distributed is not importable")
    series = [np.cumsum(np.random.default_rng(i).standard_normal(300)) for i in range(200)]
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=False,
                                  dashboard_address=None) as cluster, distributed.Client(cluster) as client:
        futures = client.map(kestrin.estimate, series, D=3, M=4)
        remote = client.gather(futures)
        # Results travel back pickled when the workers are processes.
        remote = [pickle.loads(pickle.dumps(r)) for r in remote]
        # Documents and estimates travel pickled; the workers save and bootstrap.
        documents = [pickle.loads(pickle.dumps(d)) for d in documents_to_pickle()]
        saved = client.gather(client.map(document_bytes, documents))
        estimates = [pickle.loads(pickle.dumps(e)) for e in estimates_to_bootstrap()]
        boots = client.gather(client.map(lambda e: boot_key(e.bootstrap(replicates=8, seed=2)), estimates))
    assert [key(r) for r in remote] == [key(kestrin.estimate(y, D=3, M=4)) for y in series]
    assert saved == [document_bytes(d) for d in documents_to_pickle()]
    assert boots == [boot_key(e.bootstrap(replicates=8, seed=2)) for e in estimates_to_bootstrap()]


def document_bytes(doc):
    import tempfile, pathlib
    with tempfile.TemporaryDirectory() as folder:
        path = pathlib.Path(folder) / "doc.kst"
        doc.save(str(path))
        return path.read_bytes()


def test_every_function_has_help_and_a_stub():
    import pathlib
    stub = (pathlib.Path(kestrin.__file__).parent / "kestrin.pyi").read_text()
    for name in ["estimate", "estimate_many", "bootstrap_many", "tabs", "sliding", "meta_h", "slopes",
                 "correlate", "h_data", "profile", "extract", "read_document", "write_document", "read_text", "read_table",
                 "tables", "fields"]:
        doc = getattr(kestrin, name).__doc__
        assert doc and ">>>" in doc, name
        assert f"def {name}(" in stub, name


@pytest.mark.filterwarnings("ignore::kestrin.KestrinWarning")
def test_bootstrap_results_carry_the_warnings_of_h():
    short = "Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far."
    smooth = "The series is smoother than any fractional Brownian motion: a trend or a smooth signal dominates."
    walk = kestrin.estimate(fbm(100, 0.5, 7)).bootstrap(replicates=8, seed=1)
    assert short in walk.warnings and smooth not in walk.warnings
    quadratic = kestrin.estimate(np.arange(300.0) ** 2)
    assert smooth in quadratic.warnings
    boot = quadratic.bootstrap(replicates=8, seed=1)
    assert smooth in boot.warnings and short not in boot.warnings
    assert pickle.loads(pickle.dumps(boot)).warnings == boot.warnings
    many = kestrin.bootstrap_many([quadratic], replicates=8, seed=1)
    assert many[0].warnings == boot.warnings
