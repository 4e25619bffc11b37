"""Bad input: clear exceptions naming the argument, the command line's
warnings and refusals, and nothing that crashes the interpreter."""
import os
import warnings

import numpy as np
import pytest

import kestrin
from conftest import cli_json, write_series


@pytest.mark.parametrize("y,kind,words", [
    ("1.5", TypeError, "y must be a series of real numbers, not text"),
    (["1", "2"], TypeError, "y holds text"),
    ([1 + 2j, 3], TypeError, "y holds complex numbers"),
    ([1.0, None, 2.0], TypeError, "y must hold real numbers only; item 1 is None"),
    (np.zeros((3, 4)), ValueError, "y must be one series (1-D)"),
    (4.0, TypeError, "not a single number"),
    (None, TypeError, "not None"),
    (np.array([True, False]), TypeError, "truth values"),
    ([object()], TypeError, "y must hold real numbers only"),
])
def test_bad_series_are_refused_by_name(y, kind, words):
    with pytest.raises(kind, match=None) as error:
        kestrin.estimate(y)
    assert words in str(error.value)


@pytest.mark.parametrize("kwargs,kind,words", [
    (dict(D=0), ValueError, "D: 0 is out of range (allowed: 1 to 1000)"),
    (dict(D=1001), ValueError, "D: 1001 is out of range (allowed: 1 to 1000)"),
    (dict(M=1), ValueError, "M: 1 is out of range (allowed: 2 to 100000)"),
    (dict(M=10**30), ValueError, "is out of range (allowed: 2 to 100000)"),
    (dict(M="most"), ValueError, "M: \"most\" is not a whole number"),
    (dict(D=2.5), TypeError, "D: 2.5 is not a whole number"),
    (dict(D=True), TypeError, "D: True is not a whole number"),
])
def test_bad_parameters_get_the_cli_words(kwargs, kind, words):
    with pytest.raises(kind) as error:
        kestrin.estimate([1.0, 2.0, 4.0, 3.0, 5.0, 7.0, 6.0], **kwargs)
    assert words in str(error.value)


def test_cli_refusals_match(tmp_path):
    path = write_series(tmp_path / "s.txt", np.arange(50.0) % 7)
    run = cli_json("estimate", path, "--D", 0, ok=False)
    assert "--D: 0 is out of range (allowed: 1 to 1000)" in run.stderr
    run = cli_json("sliding", path, "--width", 10, "--spacing", 0, ok=False)
    with pytest.raises(ValueError) as error:
        kestrin.sliding(np.arange(50.0), width=10, spacing=0)
    assert str(error.value) in run.stderr
    with pytest.raises(ValueError, match="plot_point: 1.5 is out of range"):
        kestrin.sliding(np.arange(50.0), width=10, spacing=1, plot_point=1.5)
    with pytest.raises(ValueError, match="at and every cannot be given together"):
        kestrin.tabs(np.arange(50.0), at=[3], every=4)
    with pytest.raises(ValueError, match="missing width and spacing"):
        kestrin.meta_h(np.arange(50.0))
    # As the command line refuses --window-D without --width: a document's
    # own windows are not computed again with them.
    for kwargs in [dict(window_D=3), dict(window_M="best"), dict(spacing=5)]:
        name = next(iter(kwargs))
        with pytest.raises(ValueError, match=f"{name} needs width"):
            kestrin.sliding(kestrin.Document(np.arange(50.0)), **kwargs)
    with pytest.raises(ValueError, match="bootstrap: "):
        kestrin.estimate([1.0, 2.0, 3.0]).bootstrap()
    # The interval band is computed with the windows, never over a
    # document's stored ones.
    with pytest.raises(ValueError, match="^bootstrap needs width: the interval band is computed with the windows$"):
        kestrin.sliding(kestrin.Document(np.arange(50.0)), bootstrap=True)
    with pytest.raises(ValueError, match="replicates: 0 is out of range"):
        kestrin.sliding(np.arange(50.0), width=10, spacing=5, bootstrap=True, replicates=0)
    with pytest.raises(ValueError, match="replicates: 0 is out of range"):
        kestrin.estimate(np.arange(50.0)).bootstrap(replicates=0)


SERIES = np.arange(60.0) % 7


# Every call that gives the whole series, the intervals or the windows a D or
# an M holds them to 1 to 1000 and 2 to 100000 (a saved interval outside them
# is left out when the document is opened again), in the command line's words.
@pytest.mark.parametrize("call,words", [
    (lambda: kestrin.Document(SERIES, D=0), "D: 0 is out of range (allowed: 1 to 1000)"),
    (lambda: kestrin.Document(SERIES, D=1001), "D: 1001 is out of range (allowed: 1 to 1000)"),
    (lambda: kestrin.Document(SERIES, M=1), "M: 1 is out of range (allowed: 2 to 100000)"),
    (lambda: kestrin.Document(SERIES, M=100001), "M: 100001 is out of range (allowed: 2 to 100000)"),
    (lambda: kestrin.tabs(SERIES, at=[20], D=0), "D: 0 is out of range (allowed: 1 to 1000)"),
    (lambda: kestrin.tabs(SERIES, at=[20], M=0), "M: 0 is out of range (allowed: 2 to 100000)"),
    (lambda: kestrin.tabs(kestrin.Document(SERIES), every=20, M=1), "M: 1 is out of range (allowed: 2 to 100000)"),
    (lambda: kestrin.sliding(SERIES, width=10, spacing=5, window_D=0),
     "window_D: 0 is out of range (allowed: 1 to 1000)"),
    (lambda: kestrin.sliding(SERIES, width=10, spacing=5, window_M=1),
     "window_M: 1 is out of range (allowed: 2 to 100000)"),
    (lambda: kestrin.meta_h(SERIES, width=10, spacing=5, D=0), "D: 0 is out of range (allowed: 1 to 1000)"),
    (lambda: kestrin.meta_h(SERIES, width=10, spacing=5, M=1), "M: 1 is out of range (allowed: 2 to 100000)"),
    (lambda: kestrin.estimate_many([SERIES], D=0), "D: 0 is out of range (allowed: 1 to 1000)"),
    (lambda: kestrin.estimate_many([SERIES], M=1), "M: 1 is out of range (allowed: 2 to 100000)"),
])
def test_every_d_and_m_is_held_to_the_limits(call, words):
    with pytest.raises(ValueError) as error:
        call()
    assert words in str(error.value)


def warned(call):
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        result = call()
    return result, [str(w.message) for w in caught if issubclass(w.category, kestrin.KestrinWarning)]


@pytest.mark.parametrize("values", [[], [3.0] * 20, [1.0, 2.0, 4.0], [1.0, float("inf"), 2.0, 5.0, 3.0, 9.0, 4.0, 1.0]])
def test_edge_series_give_what_the_cli_gives(tmp_path, values):
    # The text import reads 1e999 as infinity (and the text "inf" as 0).
    path = tmp_path / "edge.txt"
    path.write_text("".join(("1e999" if v == float("inf") else repr(v)) + "\n" for v in values))
    data = cli_json("estimate", path)
    result, texts = warned(lambda: kestrin.estimate(values))
    for key in ["H", "b", "r"]:
        expected = data[key]
        got = getattr(result, key)
        assert (expected is None and not np.isfinite(got)) or got.hex() == float(expected).hex()
    # The CLI's own warnings, word for word, where the input is the same
    # (the empty file and the infinity are named differently: a file there,
    # the argument y here).
    cli_own = [w for w in data["warnings"] if "imported from" not in w and "infinity" not in w]
    assert [t for t in texts if not t.endswith("given in y") and " of y " not in t] == cli_own
    assert issubclass(kestrin.KestrinWarning, UserWarning)


def test_tabs_name_short_and_smooth_intervals_as_the_cli_does(tmp_path):
    values = np.concatenate([np.cumsum(np.random.default_rng(3).standard_normal(200)), 1e-3 * np.arange(300.0) ** 2])
    path = tmp_path / "two.txt"
    path.write_text("".join(repr(v) + "\n" for v in values))
    data = cli_json("tabs", path, "--at", "100,200")
    _, texts = warned(lambda: kestrin.tabs(values, at=[100, 200]))
    assert texts == data["warnings"]
    assert texts[0].startswith("100.000000: Estimates from fewer than 128 values")
    assert any(t.startswith("499.000000: The series is smoother") for t in texts)


def test_not_a_number_is_left_out_as_the_database_import_does(tmp_path):
    path = tmp_path / "nan.csv"
    path.write_text("x,y\n0,1\n1,\n2,4\n3,2\n4,8\n5,3\n6,7\n7,5\n")
    data = cli_json("estimate", "--db", path, "--table", "nan", "--x", "x", "--y", "y", "--M", 2)
    result, texts = warned(lambda: kestrin.estimate([1, float("nan"), 4, 2, 8, 3, 7, 5], M=2))
    assert result.n == data["n"] == 7 and result.H.hex() == float(data["H"]).hex()
    assert any("left out because it is not a number (NaN)" in t for t in texts)


def test_warnings_can_be_errors():
    with warnings.catch_warnings():
        warnings.simplefilter("error", kestrin.KestrinWarning)
        with pytest.raises(kestrin.KestrinWarning, match="constant"):
            kestrin.estimate([2.0] * 10)


def test_files_that_cannot_be_read(tmp_path):
    with pytest.raises(FileNotFoundError):
        kestrin.read_document(str(tmp_path / "missing.kst"))
    with pytest.raises(IsADirectoryError):
        kestrin.read_text(str(tmp_path))
    damaged = tmp_path / "damaged.kst"
    damaged.write_bytes(b"\x01\x02\x03")
    with pytest.raises(kestrin.FormatError, match="it is not a Kestrin document or it is damaged"):
        kestrin.read_document(str(damaged))
    assert issubclass(kestrin.FormatError, ValueError)
    with pytest.raises(OSError):
        kestrin.write_document(kestrin.Document([1.0, 2.0]), str(tmp_path / "no" / "such" / "folder.kst"))
    with pytest.raises(kestrin.FormatError):
        kestrin.read_table(str(damaged), "T", "x", "y")
    with pytest.raises(ValueError, match="table: the table name is empty"):
        kestrin.read_table(str(damaged), "", "x", "y")


def test_interrupt_and_progress_stop_long_calls():
    batch = np.cumsum(np.random.default_rng(5).standard_normal((400, 2000)), axis=1)
    seen = []

    def stop_at_once(fraction):
        seen.append(fraction)
        raise KeyboardInterrupt

    with pytest.raises(KeyboardInterrupt):
        kestrin.estimate_many(batch, progress=stop_at_once)
    with pytest.raises(KeyboardInterrupt):
        kestrin.estimate(batch[0]).bootstrap(replicates=400, progress=stop_at_once)
    with pytest.raises(KeyboardInterrupt):
        kestrin.sliding(batch.ravel(), width=100, spacing=1, progress=stop_at_once)
    assert seen

    seen.clear()

    def stop_in_band(fraction):
        # The windows report up to a fifth, the band the rest.
        seen.append(fraction)
        if fraction > 0.2:
            raise KeyboardInterrupt

    with pytest.raises(KeyboardInterrupt):
        kestrin.sliding(batch[0], width=200, spacing=50, bootstrap=True, replicates=5000, progress=stop_in_band)
    assert seen == sorted(seen)

    # A whole run asks Python about once a thousandth (and every 20 ms), not
    # at every step of the computation, and ends at 1.
    seen.clear()
    kestrin.sliding(batch[0], width=200, spacing=50, bootstrap=True, replicates=400, progress=seen.append)
    assert seen == sorted(seen) and seen[-1] == 1.0
    assert len(seen) < 1100 + 50 * 20


def test_signal_interrupts_a_batch():
    import signal
    import threading
    batch = [np.cumsum(np.random.default_rng(i).standard_normal(1024)) for i in range(4)]
    estimates = kestrin.estimate_many(batch)
    timer = threading.Timer(0.2, lambda: os.kill(os.getpid(), signal.SIGINT))
    timer.start()
    try:
        with pytest.raises(KeyboardInterrupt):
            kestrin.bootstrap_many(estimates, replicates=5000)
    finally:
        timer.cancel()


def test_h_data_without_windows_writes_nothing():
    for y, kwargs, words in [
        (np.arange(50.0), dict(width=50, spacing=5), "the series is not longer than the window width"),
        (kestrin.Document(np.arange(50.0)), {}, "the document holds none; compute them with width and spacing"),
    ]:
        with pytest.raises(ValueError) as error:
            kestrin.h_data(y, **kwargs)
        assert "no sliding-window results to make a document of (" + words in str(error.value)


def test_an_estimate_pickled_without_values_refuses_the_bootstrap():
    # The first pickled state held no values: it still loads, and says why it
    # cannot be bootstrapped instead of simulating from made-up values.
    old = kestrin.EstimateResult.__new__(kestrin.EstimateResult)
    old.__setstate__((1, 8, 2, 3, 0.75, -1.25, 0.5, [1.0, 2.0, 3.0], [0.0, 0.25, 0.5], [0.1, 0.2, 0.3], "", None, []))
    assert (old.n, old.D, old.M, old.H) == (8, 2, 3, 0.75)
    with pytest.raises(ValueError, match="keeps no values"):
        old.bootstrap(replicates=8)
    with pytest.raises(ValueError, match="compare_methods: this estimate keeps no values"):
        old.compare_methods()
    boot = kestrin.BootstrapResult.__new__(kestrin.BootstrapResult)
    boot.__setstate__((1, 8, 3, 0.95, 0.5, 0.625, None, None, False))
    assert (boot.replicates, boot.seed, boot.H_corrected, boot.low) == (8, 3, 0.625, None)
    with pytest.raises(ValueError, match="not the state of a kestrin.Document"):
        kestrin.Document.__new__(kestrin.Document).__setstate__((1, b"\x01\x02", "", "", False))


@pytest.mark.parametrize("call,kind,words", [
    (lambda f: kestrin.tables(str(f / "missing.mdb")), FileNotFoundError, "the file does not exist"),
    (lambda f: kestrin.fields(str(f / "series.mdb"), "Nope"), kestrin.FormatError, 'There is no table "Nope"'),
])
def test_database_listing_failures_name_the_cause(call, kind, words):
    from conftest import SOURCE
    with pytest.raises(kind) as error:
        call(SOURCE / "tests" / "platform" / "db" / "fixtures")
    assert words in str(error.value)


# A document file whose own D or M measures nothing opens with a new
# document's in its place and says so; one that measures something opens
# without a word.
@pytest.mark.parametrize("d,m,expected,words", [
    (0, 3, (4, 3), "its D of 0 is outside 1 to 1000, replaced by 4."),
    (2, 1, (2, 3), "its M of 1 is outside 2 to 100000, replaced by 3."),
    (1, 2, (1, 2), None),
])
def test_read_document_holds_its_d_and_m_to_the_limits(tmp_path, d, m, expected, words):
    path = tmp_path / "doc.kst"
    kestrin.Document(SERIES).save(str(path))
    data = bytearray(path.read_bytes())
    data[0:8] = d.to_bytes(4, "little") + m.to_bytes(4, "little")
    path.write_bytes(bytes(data))
    doc, texts = warned(lambda: kestrin.read_document(str(path)))
    assert (doc.D, doc.M) == expected
    replaced = [t for t in texts if "replaced by" in t]
    assert len(replaced) == (words is not None), texts
    assert words is None or words in replaced[0]
