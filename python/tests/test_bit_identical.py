"""Every number of the module equals kestrin-cli --json's, bit for bit, on the
same input: text series (fBm of several H, the samples), a database table,
documents with tabs and sliding windows."""
import math
import pickle

import numpy as np
import pytest

import kestrin
from conftest import SOURCE, assert_same, cli_json, same

MDB = SOURCE / "tests" / "platform" / "db" / "fixtures"


def check_estimate(result, data, what):
    for key in ["H", "b", "r"]:
        assert_same(getattr(result, key), data[key], f"{what} {key}")
    assert (result.n, result.D, result.M) == (data["n"], data["D"], data["M"]), what
    lags = data.get("lags")
    if lags is not None:
        assert len(lags) == result.M
        for i, lag in enumerate(lags):
            assert_same(result.L[i], lag["L"], f"{what} L({i + 1})")
            assert_same(result.log_r[i], lag["log10_r"], f"{what} log10 r({i + 1})")
            assert_same(result.log_L_over_r[i], lag["log10_L_over_r"], f"{what} log10 L/r({i + 1})")


@pytest.mark.filterwarnings("ignore::kestrin.KestrinWarning")
@pytest.mark.parametrize("D,M", [(4, 3), (1, 2), (2, 10), (6, "best")])
def test_estimate_equals_cli(series_files, D, M):
    for name, path, values in series_files:
        m = math.isqrt(len(values)) if M == "best" else M
        data = cli_json("estimate", path, "--D", D, "--M", m)
        # The same values as a float64 array, a list, a float32-free reversed
        # view made contiguous again, and through read_text.
        for given in [values, list(values), np.ascontiguousarray(values[::-1][::-1])]:
            check_estimate(kestrin.estimate(given, D=D, M=M), data, f"{name} D {D} M {M}")
        doc = kestrin.Document(kestrin.read_text(str(path)).y, D=D, M=m)
        check_estimate(doc.estimate, data, f"{name} document")


def test_strided_views_equal_their_copies(series_files):
    values = series_files[1][2]
    for view in [values[::3], values[::-1], values.astype(np.float32), values.astype(">f8")]:
        copy = np.array(view, dtype=np.float64)
        a, b = kestrin.estimate(view, D=3, M=5), kestrin.estimate(copy, D=3, M=5)
        assert a.H.hex() == b.H.hex() and a.r.hex() == b.r.hex()


@pytest.mark.parametrize("given", ["text", "profile document"])
def test_bootstrap_equals_cli(series_files, tmp_path, given):
    name, path, values = series_files[2]
    estimates = [kestrin.estimate(values)]
    if given == "profile document":
        # A document Profile made is bootstrapped on the profile of its model,
        # read from the file, made in memory, or unpickled.
        name, text, values = series_files[3]
        path = tmp_path / "profile.kst"
        cli_json("profile", text, "-o", path)
        made = kestrin.profile(kestrin.read_text(str(text)))
        estimates = [kestrin.read_document(str(path)).estimate, made.estimate,
                     pickle.loads(pickle.dumps(made)).estimate, pickle.loads(pickle.dumps(made.estimate))]
    data = cli_json("estimate", path, "--bootstrap", "--replicates", 20, "--seed", 7)
    expected = data["bootstrap"]
    for estimate in estimates:
        boot = estimate.bootstrap(replicates=20, seed=7)
        assert (boot.replicates, boot.seed, boot.model) == (expected["replicates"], expected["seed"], expected["model"])
        assert_same(boot.level, expected["level"], "level")
        for key, attr in [("H_corrected", "H_corrected"), ("low", "low"), ("high", "high")]:
            if expected[key] is None:
                assert getattr(boot, attr) is None
            else:
                assert_same(getattr(boot, attr), expected[key], key)


def check_intervals(intervals, data, what):
    assert len(intervals) == len(data["intervals"]), what
    for result, expected in zip(intervals, data["intervals"]):
        check_estimate(result, expected, f"{what} {expected['label']}")
        assert result.label == expected["label"]
        assert_same(result.upper_bound, expected["upper_bound"], f"{what} upper bound")


@pytest.mark.filterwarnings("ignore::kestrin.KestrinWarning")
def test_tabs_equal_cli(series_files):
    for name, path, values in series_files:
        n = len(values)
        for args, kwargs in [
            (["--at", f"{n // 4},{n // 2},{3 * n // 4}"], dict(at=[n // 4, n // 2, 3 * n // 4])),
            (["--every", "97.5", "--D", "3", "--M", "4"], dict(every=97.5, D=3, M=4)),
            (["--at", f"5,{n // 2}", "--M", "9"], dict(at=[5, n // 2], M=9)),
        ]:
            data = cli_json("tabs", path, *args)
            result = kestrin.tabs(values, **kwargs)
            assert result.tabs == data["tabs"]
            check_intervals(result.intervals, data, f"{name} {args}")


def check_windows(result, rows, what):
    assert len(result) == len(rows), what
    for key in ["X", "H", "r", "b"]:
        column = getattr(result, key)
        for i, row in enumerate(rows):
            assert_same(column[i], row[key], f"{what} window {i} {key}")
    assert list(result.n) == [row["n"] for row in rows]


@pytest.mark.filterwarnings("ignore::kestrin.KestrinWarning")
def test_windows_equal_cli(series_files):
    for name, path, values in series_files[:1] + series_files[3:]:
        for args, kwargs in [
            (["--width", 100, "--spacing", 10], dict(width=100, spacing=10)),
            (["--width", 64, "--spacing", 3, "--window-D", 2, "--window-M", 5, "--plot-point", 0.25],
             dict(width=64, spacing=3, window_D=2, window_M=5, plot_point=0.25)),
        ]:
            data = cli_json("sliding", path, *args)
            sliding = kestrin.sliding(values, **kwargs)
            check_windows(sliding, data["results"], f"{name} sliding {args}")
            assert_same(sliding.x_min, data["x_min"], "x_min")

            data = cli_json("meta-h", path, *args, "--D", 3)
            check_estimate(kestrin.meta_h(values, D=3, **kwargs), data, f"{name} meta-h {args}")

            data = cli_json("correlate", path, *args, "--size", 20, "--offset", 3)
            c = kestrin.correlate(values, size=20, offset=3, **kwargs)
            assert_same(c.correlation, data["correlation"], f"{name} correlation")
            assert (c.matches, c.slope_count) == (data["matches"], data["slope_count"])

        data = cli_json("slopes", path, "--size", 20)
        slopes = kestrin.slopes(values, size=20)
        assert len(slopes) == data["count"]
        for i, row in enumerate(data["results"]):
            assert_same(slopes.slope[i], row["slope"], f"{name} slope {i}")
            assert_same(slopes.X[i], row["X"], f"{name} slope X {i}")


def same_members(module_value, json_value, what):
    """Dicts of the same keys in the same order, numbers bit for bit."""
    if isinstance(json_value, dict):
        assert list(module_value) == list(json_value), what
        for key in json_value:
            same_members(module_value[key], json_value[key], f"{what} {key}")
    elif isinstance(module_value, float):
        assert_same(module_value, json_value, what)
    else:
        assert module_value == json_value and type(module_value) is type(json_value), what


# A motion, a series bootstrapped as a noise (a failed model check, windows
# not reached, bounds at the searched range's edges) and a document Profile
# made (the profile of a noise).
@pytest.mark.filterwarnings("ignore::kestrin.KestrinWarning")
@pytest.mark.parametrize("which,width,spacing,input", [(1, 200, 50, "auto"), (0, 200, 50, "noise"),
                                                      (3, 100, 25, "profile document")])
def test_interval_band_equals_cli(series_files, tmp_path, which, width, spacing, input):
    name, path, values = series_files[which]
    args, kwargs = [], {}
    if input == "profile document":
        path = tmp_path / "profile.kst"
        cli_json("profile", series_files[which][1], "-o", path)
        values = kestrin.read_document(str(path))
    elif input != "auto":
        args, kwargs = ["--input", input], dict(input=input)
    data = cli_json("sliding", path, "--width", width, "--spacing", spacing, "--bootstrap", "--replicates", 40,
                    "--seed", 11, *args)
    result = kestrin.sliding(values, width=width, spacing=spacing, bootstrap=True, replicates=40, seed=11, **kwargs)
    rows = data["results"]
    for given in [result, pickle.loads(pickle.dumps(result))]:
        check_windows(given, rows, name)
        for key in ["H_corrected", "low", "high"]:
            for i, row in enumerate(rows):
                assert_same(getattr(given, key)[i], row[key], f"{name} window {i} {key}")
        for key in ["H_corrected_bound", "low_bound", "high_bound"]:
            assert getattr(given, key) == [row[key] for row in rows], f"{name} {key}"
        same_members(given.band, data["band"], f"{name} band")
        assert given.warnings == data.get("warnings", []), name


def test_new_documents_equal_cli(series_files, tmp_path):
    name, path, values = series_files[3]
    cli_profile = tmp_path / "cli-profile.kst"
    data = cli_json("profile", path, "-o", cli_profile)
    # The profile records its source's title: read the file as the CLI does.
    profile = kestrin.profile(kestrin.read_text(str(path)))
    assert_same(profile.estimate.H, data["H"], "profile H")
    info = cli_json("info", cli_profile)["profile_of"]
    assert profile.profile_of["source"] == info["source"] and same(profile.profile_of["mean"], info["mean"])
    assert kestrin.read_text(str(path)).profile_of is None
    module_profile = tmp_path / "module-profile.kst"
    kestrin.write_document(profile, str(module_profile))
    assert module_profile.read_bytes() == cli_profile.read_bytes()

    cli_extract = tmp_path / "cli-extract.kst"
    cli_json("extract", path, "--from", 100, "--to", 199, "-o", cli_extract)
    module_extract = tmp_path / "module-extract.kst"
    kestrin.extract(values, 100, 199).save(str(module_extract))
    assert module_extract.read_bytes() == cli_extract.read_bytes()


def test_documents_with_tabs_and_windows_equal_cli(series_files, tmp_path):
    name, path, values = series_files[0]
    doc = kestrin.Document(values, D=5, M=4)
    kestrin.tabs(doc, at=[300, 900], D=3, M=6)
    kestrin.sliding(doc, width=128, spacing=16, window_D=4)
    saved = tmp_path / "doc.kst"
    doc.save(str(saved))

    read = kestrin.read_document(str(saved))
    info = cli_json("info", saved, "--windows", "--points")
    check_estimate(read.estimate, info["estimator"], "global")
    assert read.tabs == info["tabs"]
    check_intervals(read.intervals, info, "saved intervals")
    check_windows(read.windows, info["windows"], "saved windows")
    assert read.spacing == info["spacing"] and len(read) == info["point_count"]
    for i, point in enumerate(info["points"]):
        assert_same(read.x[i], point["X"], "X")
        assert_same(read.y[i], point["Y"], "Y")

    data = cli_json("tabs", saved)
    result = kestrin.tabs(read)
    assert result.tabs == data["tabs"]
    check_intervals(result.intervals, data, "document tabs")

    data = cli_json("meta-h", saved)
    check_estimate(kestrin.meta_h(read), data, "meta-h of the document's windows")


@pytest.mark.filterwarnings("ignore::kestrin.KestrinWarning")
@pytest.mark.parametrize("db,table,x,y", [
    ("series.mdb", "Tiny", "Seq", "Val"),
    ("series.mdb", "Series", "Seq", "Val"),
    ("series.Series.csv", "series.Series", "Seq", "Val"),
    ("nile-minima.csv", "nile-minima", None, None),
])
def test_database_table_equals_cli(db, table, x, y):
    path = MDB / db
    if x is None:
        header = path.read_text().splitlines()[0].split(",")
        x, y = header[0].strip('"'), header[1].strip('"')
    data = cli_json("estimate", "--db", path, "--table", table, "--x", x, "--y", y, "--M", 5)
    doc = kestrin.read_table(str(path), table, x, y)
    check_estimate(kestrin.estimate(doc.y, M=5), data, f"{db} {table}")
    assert doc.table == table and doc.x_field == x and doc.y_field == y


def test_pandas_series_reads_as_its_values(series_files):
    pandas = pytest.importorskip("pandas", reason="pandas is not installed")
    values = series_files[0][2]
    for given in [pandas.Series(values), pandas.Series(values.astype(np.float32)).iloc[::2]]:
        a, b = kestrin.estimate(given, D=3), kestrin.estimate(np.asarray(given, dtype=np.float64), D=3)
        assert a.H.hex() == b.H.hex() and a.r.hex() == b.r.hex()


@pytest.mark.filterwarnings("ignore::kestrin.KestrinWarning")
@pytest.mark.parametrize("which,args,kwargs", [
    (0, ["--width", 100, "--spacing", 10], dict(width=100, spacing=10)),
    (3, ["--width", 64, "--spacing", 3, "--window-D", 2, "--window-M", 5, "--plot-point", 0.25],
     dict(width=64, spacing=3, window_D=2, window_M=5, plot_point=0.25)),
    ("document", [], {}),
])
def test_h_data_equals_cli(series_files, tmp_path, which, args, kwargs):
    if which == "document":
        # A document's own windows, with its own X origin and D.
        name, path, values = series_files[2]
        doc = kestrin.Document(values, x=np.arange(len(values)) * 2.0 - 50.0, D=5)
        kestrin.sliding(doc, width=90, spacing=7, window_D=3)
        path = tmp_path / "windows.kst"
        doc.save(str(path))
        given = kestrin.read_document(str(path))
    else:
        name, path, given = series_files[which]
    cli_doc = tmp_path / "cli-h.kst"
    data = cli_json("h-data", path, *args, "-o", cli_doc)
    h = kestrin.h_data(given, **kwargs)
    assert (len(h), h.D, h.M, h.h_series) == (data["points"], data["D"], data["M"], 1)
    assert (h.x_field, h.y_field) == ("H", "Series")
    module_doc = tmp_path / "module-h.kst"
    h.save(str(module_doc))
    assert module_doc.read_bytes() == cli_doc.read_bytes(), f"{name} {args}"
    sliding = kestrin.sliding(given, **kwargs)
    assert h.x.tobytes() == sliding.X.tobytes() and h.y.tobytes() == sliding.H.tobytes()
    assert_same(sliding.x_min, data["x_min"], "x_min")


@pytest.mark.parametrize("db", ["series.mdb", "types.mdb", "nile-minima.csv", "series.Series.csv"])
def test_tables_and_fields_equal_cli(db):
    path = MDB / db
    data = cli_json("tables", path)
    names = kestrin.tables(str(path))
    assert names == data["tables"] + data.get("views", [])
    for table in names:
        if not table.startswith("MSys"):
            assert kestrin.fields(str(path), table) == cli_json("fields", path, table)["fields"], table


@pytest.mark.parametrize("which,args,kwargs", [
    (3, ["--method", "all", "--bootstrap", "--replicates", 6, "--seed", 7], dict(bootstrap=True, replicates=6, seed=7)),
    (2, ["--method", "dfa", "--input", "noise"], dict(method="dfa", input="noise")),
    (0, ["--method", "whittle", "--D", 3, "--M", 6], dict(method="whittle")),
])
def test_compare_methods_equals_cli(series_files, which, args, kwargs):
    name, path, values = series_files[which]
    data = cli_json("estimate", path, *args)
    estimate = kestrin.estimate(values, D=data["D"], M=data["M"])
    unpickled = pickle.loads(pickle.dumps(estimate))
    # A bootstrap of every method is slow under the sanitizers: the unpickled
    # estimate alone stands for both.
    for given in [unpickled] if kwargs.get("bootstrap") else [estimate, unpickled]:
        result = given.compare_methods(**kwargs)
        assert result["series"] == data["methods_series"]
        assert result["intervals_overlap"] == data.get("intervals_overlap")
        assert [m["method"] for m in result["methods"]] == [m["method"] for m in data["methods"]]
        for row, expected in zip(result["methods"], data["methods"]):
            for key in ["H", "standard_error", "alpha"]:
                if key in expected:
                    assert_same(row[key], expected[key], f"{name} {row['method']} {key}")
            assert [row.get(k) for k in ["frequencies", "scales"]] == [expected.get(k) for k in ["frequencies", "scales"]]
            boot = row.get("bootstrap")
            assert (boot is None) == ("H_corrected" not in expected)
            for key in ["H_corrected", "low", "high"] if boot else []:
                value = getattr(boot, key)
                assert (value is None and expected[key] is None) or same(value, expected[key]), f"{name} {key}"


@pytest.mark.filterwarnings("ignore::kestrin.KestrinWarning")
def test_plot_point_moves_a_documents_windows_as_cli(series_files, tmp_path):
    name, path, values = series_files[0]
    doc = kestrin.Document(values)
    kestrin.sliding(doc, width=100, spacing=10)
    saved = tmp_path / "windows.kst"
    doc.save(str(saved))
    data = cli_json("sliding", saved, "--plot-point", 0.25)
    check_windows(kestrin.sliding(kestrin.read_document(str(saved)), plot_point=0.25), data["results"], "moved")
    cli_doc = tmp_path / "cli-h.kst"
    cli_json("h-data", saved, "--plot-point", 0.25, "-o", cli_doc)
    module_doc = tmp_path / "module-h.kst"
    kestrin.h_data(kestrin.read_document(str(saved)), plot_point=0.25).save(str(module_doc))
    assert module_doc.read_bytes() == cli_doc.read_bytes()


@pytest.mark.filterwarnings("ignore::kestrin.KestrinWarning")
@pytest.mark.parametrize("M,r_min", [(10, 2), (6, 5)])
def test_first_lag_equals_cli(series_files, M, r_min):
    for name, path, values in series_files[:2]:
        data = cli_json("estimate", path, "--D", 4, "--M", M, "--r-min", r_min)
        result = kestrin.estimate(values, D=4, M=M, r_min=r_min)
        check_estimate(result, data, f"{name} r_min {r_min}")
        assert result.r_min == data["r_min"] == r_min
        back = pickle.loads(pickle.dumps(result))
        assert back.r_min == r_min and same(back.H, result.H)
        many = kestrin.estimate_many([values], D=4, M=M, r_min=r_min)
        assert same(many[0].H, result.H)
    assert kestrin.estimate(values, D=4, M=M).r_min == 1
    with pytest.raises(ValueError, match="first lag must be between 1 and M - 1"):
        kestrin.estimate(values, M=3, r_min=3)


@pytest.mark.filterwarnings("ignore::kestrin.KestrinWarning")
def test_first_lag_of_tabs_and_windows_equals_cli(series_files):
    name, path, values = series_files[0]
    n = len(values)
    data = cli_json("tabs", path, "--at", n // 2, "--M", 6, "--r-min", 2)
    result = kestrin.tabs(values, at=[n // 2], M=6, r_min=2)
    check_intervals(result.intervals, data, f"{name} tabs r_min")
    assert [i.r_min for i in result.intervals] == [2, 2]
    args = ["--width", 100, "--spacing", 10, "--window-r-min", 3]
    data = cli_json("sliding", path, *args)
    check_windows(kestrin.sliding(values, width=100, spacing=10, window_r_min=3), data["results"], "sliding")
    data = cli_json("meta-h", path, *args, "--D", 3, "--M", 8, "--r-min", 2)
    meta = kestrin.meta_h(values, width=100, spacing=10, window_r_min=3, D=3, M=8, r_min=2)
    check_estimate(meta, data, "meta-h r_min")
    assert meta.r_min == 2
