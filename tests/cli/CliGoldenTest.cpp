// Every report of kestrin-cli, as text and as JSON, byte for byte on one
// fixed series and one document: the reports' layout may not drift.
#include "tests/support/CliRunner.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "analysis/SlidingWindows.h"

namespace cli_golden_test {

namespace {

// A series with no two steps alike, as a text file, as a CSV table with X
// from 100, and as a document with tabs at 5 and 10 and the results of
// windows 8 wide, 4 apart.
const std::vector<double> kSeries{3.5, 4.25, 2, 5.75, 6, 4.5, 7.25, 8, 6.5, 9, 7.75, 10.5, 9.25, 11, 12.5, 10};

class CliGolden : public CliTest
{
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        m_checkLeaks = true;
        WriteValues("series.txt", kSeries);
        std::string csv = "X,Y\n";
        for (std::size_t i = 0; i < kSeries.size(); ++i)
            csv += std::to_string(100 + i) + "," + std::to_string(kSeries[i]) + "\n";
        WriteFile("shifted.csv", csv);
        CHeadlessUi ui;
        CKestrinDoc doc(ui);
        doc.OnNewDocument();
        ASSERT_TRUE(doc.ImportTextFile(Path("series.txt"), 0, 0, false));
        doc.SetTabs({5, 10});
        SlidingWindowParams params;
        params.width = 8;
        params.spacing = 4;
        ASSERT_TRUE(ComputeSlidingWindows(doc, params));
        ASSERT_TRUE(doc.OnSaveDocument(Path("doc.kst")));
    }
};

struct Golden
{
    std::vector<std::string> args;
    std::string text; // standard output as it is
    std::string json; // standard output with --json
};

const std::vector<Golden>& Goldens();

TEST_F(CliGolden, EveryReportIsWrittenExactlyAsBefore)
{
    for (const Golden& g : Goldens()) {
        std::string line;
        for (const std::string& arg : g.args)
            line += " " + arg;
        SCOPED_TRACE(line);
        std::vector<std::string> args = g.args;
        const CliResult text = Run(args);
        args.push_back("--json");
        const CliResult json = Run(args);
        EXPECT_EQ(text.exitCode, 0) << text.err;
        EXPECT_EQ(json.exitCode, 0) << json.err;
        EXPECT_EQ(text.out, g.text);
        EXPECT_EQ(json.out, g.json);
    }
}

// Each report exactly as the tool writes it, byte for byte.
const std::vector<Golden>& Goldens()
{
    static const std::vector<Golden> goldens{
        {{"estimate", "series.txt", "--D", "1", "--M", "3"},
         R"~(n           16
D           1
M           3
H           -0.264315
b           -2.264315
r           -0.995687

r       L(r)   log10 r  log10(L(r)/r)
1  27.000000  0.000000       1.431364
2  13.500000  0.301030       0.829304
3   6.500000  0.477121       0.335792
)~",
         R"~({
  "version": "0.1.0",
  "file": "series.txt",
  "n": 16,
  "D": 1,
  "M": 3,
  "H": -0.26431549762512674,
  "b": -2.2643154976251267,
  "r": -0.9956872272050319,
  "r_min": 1,
  "intercept": 1.4528131915510867,
  "slope_se": 0.21097866092619397,
  "fit": {"log_r": [0, 0.3010299956639812, 0.47712125471966244], "log_L_over_r": [1.4313637641589874, 0.829303772831025, 0.3357921019231931]},
  "lags": [
    {"r": 1, "L": 27, "log10_r": 0, "log10_L_over_r": 1.4313637641589874},
    {"r": 2, "L": 13.5, "log10_r": 0.3010299956639812, "log10_L_over_r": 0.829303772831025},
    {"r": 3, "L": 6.5, "log10_r": 0.47712125471966244, "log10_L_over_r": 0.3357921019231931}
  ],
  "warnings": [
    "Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far."
  ]
}
)~"},
        {{"tabs", "series.txt", "--at", "5,10", "--D", "1", "--M", "3"},
         R"~(D           1
M           3

upper bound  D  M  n          H          b          r
   5.000000  1  3  5   0.040678  -1.959322  -0.970353
  10.000000  1  3  5  -0.152918  -2.152918  -0.988317
  15.000000  1  3  5   0.282624  -1.717376  -0.998758
)~",
         R"~({
  "version": "0.1.0",
  "file": "series.txt",
  "D": 1,
  "M": 3,
  "tabs": [5, 10],
  "intervals": [
    {"label": "5.000000", "upper_bound": 5, "D": 1, "M": 3, "n": 5, "H": 0.040678316089510114, "b": -1.9593216839104899, "r": -0.9703527651624029, "r_min": 1, "intercept": 0.8947135384916511, "slope_se": 0.4880228846482914, "fit": {"log_r": [0, 0.3010299956639812, 0.47712125471966244], "log_L_over_r": [0.8450980400142568, 0.43933269383026263, -0.12493873660829993]}},
    {"label": "10.000000", "upper_bound": 10, "D": 1, "M": 3, "n": 5, "H": -0.1529182026670579, "b": -2.152918202667058, "r": -0.9883165511502411, "r_min": 1, "intercept": 0.9088161712754864, "slope_se": 0.3320165678470031, "fit": {"log_r": [0, 0.3010299956639812, 0.47712125471966244], "log_L_over_r": [0.8750612633917001, 0.3521825181113625, -0.17609125905568127]}},
    {"label": "15.000000", "upper_bound": 15, "D": 1, "M": 3, "n": 5, "H": 0.2826240897493819, "b": -1.717375910250618, "r": -0.9987582260880925, "r_min": 1, "intercept": 0.8690473129104525, "slope_se": 0.08566558703435814, "fit": {"log_r": [0, 0.3010299956639812, 0.47712125471966244], "log_L_over_r": [0.8603380065709937, 0.3756636139608854, 0.03476210625921191]}}
  ],
  "warnings": [
    "5.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.",
    "10.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.",
    "15.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far."
  ]
}
)~"},
        {{"tabs", "doc.kst"},
         R"~(D           4
M           3

upper bound  D  M  n         H          b          r
   5.000000  4  3  5  0.556787  -1.443213  -0.931038
  10.000000  4  3  5  0.640118  -1.359882  -0.931038
  15.000000  4  3  5  0.708370  -1.291630  -0.931038
)~",
         R"~({
  "version": "0.1.0",
  "file": "doc.kst",
  "D": 4,
  "M": 3,
  "tabs": [5, 10],
  "intervals": [
    {"label": "5.000000", "upper_bound": 5, "D": 4, "M": 3, "n": 5, "H": 0.5567874023645081, "b": -1.443212597635492, "r": -0.9310375777196572, "r_min": 1, "intercept": 0.5902737458002414, "slope_se": 0.5656720458982514, "fit": {"log_r": [0, 0.3010299956639812, 0.47712125471966244], "log_L_over_r": [0.6477835499812395, 0, 0]}},
    {"label": "10.000000", "upper_bound": 10, "D": 4, "M": 3, "n": 5, "H": 0.6401178311966329, "b": -1.359882168803367, "r": -0.9310375777196572, "r_min": 1, "intercept": 0.5561916123387775, "slope_se": 0.5330104032267037, "fit": {"log_r": [0, 0.3010299956639812, 0.47712125471966244], "log_L_over_r": [0.6103808269875711, 0, 0]}},
    {"label": "15.000000", "upper_bound": 15, "D": 4, "M": 3, "n": 5, "H": 0.7083699043320011, "b": -1.291630095667999, "r": -0.9310375777196572, "r_min": 1, "intercept": 0.5282765241984361, "slope_se": 0.5062587729329167, "fit": {"log_r": [0, 0.3010299956639812, 0.47712125471966244], "log_L_over_r": [0.5797459986181097, 0, 0]}}
  ],
  "warnings": [
    "3 of 3 intervals hold fewer than D + M values; L(r) is 0 for their longest lags",
    "5.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.",
    "10.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.",
    "15.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far."
  ]
}
)~"},
        {{"tabs", "series.txt"},
         R"~(D           4
M           3

No intervals: no tab positions were given (--at).
)~",
         R"~({
  "version": "0.1.0",
  "file": "series.txt",
  "D": 4,
  "M": 3,
  "tabs": [],
  "intervals": [],
  "warnings": []
}
)~"},
        {{"tabs", "--db", "shifted.csv", "--table", "shifted", "--x", "X", "--y", "Y", "--at", "105,110", "--D", "2"},
         R"~(D           2
M           3

upper bound  D  M  n          H          b          r
 105.000000  2  3  5  -0.307819  -2.307819  -0.945071
 110.000000  2  3  5   0.049789  -1.950211  -0.999061
 115.000000  2  3  5   0.212424  -1.787576  -0.838768
)~",
         R"~({
  "version": "0.1.0",
  "file": "shifted.csv",
  "table": "shifted",
  "x_field": "X",
  "y_field": "Y",
  "D": 2,
  "M": 3,
  "tabs": [105, 110],
  "intervals": [
    {"label": "105.000000", "upper_bound": 105, "D": 2, "M": 3, "n": 5, "H": -0.30781904276082406, "b": -2.307819042760824, "r": -0.9450705053522295, "r_min": 1, "intercept": 0.940174171085836, "slope_se": 0.7981931915412973, "fit": {"log_r": [0, 0.3010299956639812, 0.47712125471966244], "log_L_over_r": [1.0213235481445053, 0.025576261223690604, -0.022209569894206464]}},
    {"label": "110.000000", "upper_bound": 110, "D": 2, "M": 3, "n": 5, "H": 0.04978921018676119, "b": -1.9502107898132388, "r": -0.9990614920985236, "r_min": 1, "intercept": 0.8631499631256764, "slope_se": 0.08455151203540988, "fit": {"log_r": [0, 0.3010299956639812, 0.47712125471966244], "log_L_over_r": [0.8717460055421655, 0.25278694353593356, -0.05264202430591496]}},
    {"label": "115.000000", "upper_bound": 115, "D": 2, "M": 3, "n": 5, "H": 0.21242442170098474, "b": -1.7875755782990153, "r": -0.8387678327841194, "r_min": 1, "intercept": 0.7557078285633919, "slope_se": 1.1604112770643908, "fit": {"log_r": [0, 0.3010299956639812, 0.47712125471966244], "log_L_over_r": [0.87368259114411, -0.10205999132796235, 0.10449671446538461]}}
  ],
  "warnings": [
    "105.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.",
    "110.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.",
    "115.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far."
  ]
}
)~"},
        {{"sliding", "series.txt", "--width", "8", "--spacing", "4", "--window-M", "3"},
         R"~(X          H          r          b  n
4  -0.138620  -0.994651  -2.138620  8
8  -0.066152  -0.999684  -2.066152  8
)~",
         R"~({
  "file": "series.txt",
  "windows": {"source": "computed", "width": 8, "spacing": 4, "D": 6, "M": 3, "plot_point": 0.5, "count": 2},
  "x_min": 0,
  "results": [
    {"X": 4, "offset": 4, "H": -0.13862003081373597, "r": -0.9946514918787657, "b": -2.138620030813736, "n": 8},
    {"X": 8, "offset": 8, "H": -0.06615151509545969, "r": -0.9996837127028426, "b": -2.0661515150954597, "n": 8}
  ],
  "warnings": [
    "the window M 3 is larger than a window of 8 values with D 6 allows (2): L(r) is 0 for every r > 2 in every window, so the window H values mean little"
  ]
}
)~"},
        {{"sliding", "doc.kst", "--plot-point", "0.25"},
         R"~(X          H          r          b  n
2   0.139605  -1.000000  -1.860395  8
6  -0.131270  -1.000000  -2.131270  8
)~",
         R"~({
  "file": "doc.kst",
  "windows": {"source": "document", "spacing": 4, "plot_point": 0.25, "count": 2},
  "x_min": 0,
  "results": [
    {"X": 2, "offset": 2, "H": 0.13960527666814682, "r": -0.9999999999999987, "b": -1.8603947233318532, "n": 8},
    {"X": 6, "offset": 6, "H": -0.13127013317983094, "r": -1, "b": -2.131270133179831, "n": 8}
  ],
  "warnings": []
}
)~"},
        {{"sliding", "series.txt", "--width", "20", "--spacing", "1"},
         R"~(No sliding-window results: a window of 20 points needs more than 20 points; the series has 16.
)~",
         R"~({
  "file": "series.txt",
  "windows": {"source": "computed", "width": 20, "spacing": 1, "D": 6, "M": 4, "plot_point": 0.5, "count": 0},
  "x_min": 0,
  "results": [],
  "warnings": []
}
)~"},
        {{"sliding", "doc.kst"},
         R"~(X          H          r          b  n
4   0.139605  -1.000000  -1.860395  8
8  -0.131270  -1.000000  -2.131270  8
)~",
         R"~({
  "file": "doc.kst",
  "windows": {"source": "document", "spacing": 4, "count": 2},
  "x_min": 0,
  "results": [
    {"X": 4, "offset": 4, "H": 0.13960527666814682, "r": -0.9999999999999987, "b": -1.8603947233318532, "n": 8},
    {"X": 8, "offset": 8, "H": -0.13127013317983094, "r": -1, "b": -2.131270133179831, "n": 8}
  ],
  "warnings": []
}
)~"},
        {{"sliding", "doc.kst", "-o", "windows.txt"},
         R"~(Wrote 2 sliding-window results to "windows.txt".
)~",
         R"~({
  "file": "doc.kst",
  "windows": {"source": "document", "spacing": 4, "count": 2},
  "x_min": 0,
  "output": "windows.txt",
  "warnings": []
}
)~"},
        {{"sliding", "--db", "shifted.csv", "--table", "shifted", "--x", "X", "--y", "Y", "--width", "8", "--spacing",
          "4", "--window-D", "2", "--window-M", "3"},
         R"~(  X          H          r          b  n
104  -0.076623  -0.996041  -2.076623  8
108   0.155713  -0.985344  -1.844287  8
)~",
         R"~({
  "file": "shifted.csv",
  "table": "shifted",
  "x_field": "X",
  "y_field": "Y",
  "windows": {"source": "computed", "width": 8, "spacing": 4, "D": 2, "M": 3, "plot_point": 0.5, "count": 2},
  "x_min": 100,
  "results": [
    {"X": 104, "offset": 4, "H": -0.07662258827717094, "r": -0.9960407737963412, "b": -2.076622588277171, "n": 8},
    {"X": 108, "offset": 8, "H": 0.15571318715401405, "r": -0.9853439557782012, "b": -1.844286812845986, "n": 8}
  ],
  "warnings": []
}
)~"},
        {{"meta-h", "series.txt", "--width", "6", "--spacing", "2", "--window-D", "2", "--window-M", "3", "--D", "1",
          "--M", "3"},
         R"~(windows     5 (width 6, spacing 2, D 2, M 3, plot point 0.5)
n           5
D           1
M           3
H           -0.233380
b           -2.233380
r           -0.950392
)~",
         R"~({
  "file": "series.txt",
  "windows": {"source": "computed", "width": 6, "spacing": 2, "D": 2, "M": 3, "plot_point": 0.5, "count": 5},
  "n": 5,
  "D": 1,
  "M": 3,
  "H": -0.23337956447023656,
  "b": -2.2333795644702366,
  "r": -0.9503917766153306,
  "warnings": [
    "Meta H: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far."
  ]
}
)~"},
        {{"meta-h", "series.txt", "--width", "6", "--spacing", "2", "--window-M", "3", "--D", "1", "--M", "3"},
         R"~(windows     5 (width 6, spacing 2, D 6, M 3, plot point 0.5)
n           5
D           1
M           3
H           2.000000
b           0.000000
r           0.000000
)~",
         R"~({
  "file": "series.txt",
  "windows": {"source": "computed", "width": 6, "spacing": 2, "D": 6, "M": 3, "plot_point": 0.5, "count": 5},
  "n": 5,
  "D": 1,
  "M": 3,
  "H": 2,
  "b": 0,
  "r": 0,
  "warnings": [
    "the window M 3 is larger than a window of 6 values with D 6 allows (0): L(r) is 0 for every r > 0 in every window, so the window H values mean little",
    "the sliding-window H curve is constant (all 5 values are 2): every L(r) is 0, so H = 2, b = 0 and r = 0 say nothing about it",
    "Meta H: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far."
  ]
}
)~"},
        {{"meta-h", "doc.kst", "--D", "1"},
         R"~(windows     2 (stored in the document, spacing 4)
n           2
D           1
M           2
H           3.884299
b           1.884299
r           1.000000
)~",
         R"~({
  "file": "doc.kst",
  "windows": {"source": "document", "spacing": 4, "count": 2},
  "n": 2,
  "D": 1,
  "M": 2,
  "H": 3.884298663697356,
  "b": 1.8842986636973558,
  "r": 1,
  "warnings": [
    "Meta H: The series is smoother than any fractional Brownian motion: a trend or a smooth signal dominates.",
    "Meta H: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far."
  ]
}
)~"},
        {{"slopes", "series.txt", "--size", "5"},
         R"~( X  offset     slope
 2       2  0.650000
 3       3  0.450000
 4       4  0.925000
 5       5  0.575000
 6       6  0.450000
 7       7  0.825000
 8       8  0.200000
 9       9  0.625000
10      10  0.700000
11      11  0.550000
12      12  1.000000
)~",
         R"~({
  "file": "series.txt",
  "size": 5,
  "x_min": 0,
  "count": 11,
  "results": [
    {"X": 2, "offset": 2, "slope": 0.65},
    {"X": 3, "offset": 3, "slope": 0.45},
    {"X": 4, "offset": 4, "slope": 0.925},
    {"X": 5, "offset": 5, "slope": 0.575},
    {"X": 6, "offset": 6, "slope": 0.45},
    {"X": 7, "offset": 7, "slope": 0.825},
    {"X": 8, "offset": 8, "slope": 0.2},
    {"X": 9, "offset": 9, "slope": 0.625},
    {"X": 10, "offset": 10, "slope": 0.7},
    {"X": 11, "offset": 11, "slope": 0.55},
    {"X": 12, "offset": 12, "slope": 1}
  ],
  "warnings": []
}
)~"},
        {{"slopes", "series.txt", "--size", "40"},
         R"~(No slope-window results: a window of 40 points needs more than 40 points; the series has 16.
)~",
         R"~({
  "file": "series.txt",
  "size": 40,
  "x_min": 0,
  "count": 0,
  "results": [],
  "warnings": []
}
)~"},
        {{"slopes", "--db", "shifted.csv", "--table", "shifted", "--x", "X", "--y", "Y", "--size", "4"},
         R"~(  X  offset     slope
102       2  0.450000
103       3  0.900000
104       4  0.775000
105       5  0.300000
106       6  0.875000
107       7  0.675000
108       8  0.375000
109       9  0.175000
110      10  1.075000
111      11  0.350000
112      12  0.850000
113      13  0.775000
)~",
         R"~({
  "file": "shifted.csv",
  "table": "shifted",
  "x_field": "X",
  "y_field": "Y",
  "size": 4,
  "x_min": 100,
  "count": 12,
  "results": [
    {"X": 102, "offset": 2, "slope": 0.45},
    {"X": 103, "offset": 3, "slope": 0.9},
    {"X": 104, "offset": 4, "slope": 0.775},
    {"X": 105, "offset": 5, "slope": 0.3},
    {"X": 106, "offset": 6, "slope": 0.875},
    {"X": 107, "offset": 7, "slope": 0.675},
    {"X": 108, "offset": 8, "slope": 0.375},
    {"X": 109, "offset": 9, "slope": 0.175},
    {"X": 110, "offset": 10, "slope": 1.075},
    {"X": 111, "offset": 11, "slope": 0.35},
    {"X": 112, "offset": 12, "slope": 0.85},
    {"X": 113, "offset": 13, "slope": 0.775}
  ],
  "warnings": []
}
)~"},
        {{"correlate", "series.txt", "--size", "3", "--offset", "1", "--width", "6", "--spacing", "2", "--window-M",
          "3"},
         R"~(windows     5 (width 6, spacing 2, D 6, M 3, plot point 0.5)
slopes      13 (size 3)
offset      1
correlation 0.000000
matches     5
)~",
         R"~({
  "file": "series.txt",
  "windows": {"source": "computed", "width": 6, "spacing": 2, "D": 6, "M": 3, "plot_point": 0.5, "count": 5},
  "size": 3,
  "slope_count": 13,
  "offset": 1,
  "origin": 0,
  "correlation": 0,
  "matches": 5,
  "warnings": [
    "the window M 3 is larger than a window of 6 values with D 6 allows (0): L(r) is 0 for every r > 0 in every window, so the window H values mean little"
  ]
}
)~"},
        {{"correlate", "--db",      "shifted.csv", "--table",    "shifted",  "--x",        "X",
          "--y",       "Y",         "--size",      "3",          "--offset", "2",          "--width",
          "6",         "--spacing", "1",           "--window-D", "2",        "--window-M", "3"},
         R"~(windows     10 (width 6, spacing 1, D 2, M 3, plot point 0.5)
slopes      13 (size 3)
offset      2
correlation 0.344384
matches     10
)~",
         R"~({
  "file": "shifted.csv",
  "table": "shifted",
  "x_field": "X",
  "y_field": "Y",
  "windows": {"source": "computed", "width": 6, "spacing": 1, "D": 2, "M": 3, "plot_point": 0.5, "count": 10},
  "size": 3,
  "slope_count": 13,
  "offset": 2,
  "origin": 100,
  "correlation": 0.34438444412543023,
  "matches": 10,
  "warnings": []
}
)~"},
        {{"correlate", "doc.kst", "--size", "3", "-o", "pairs.txt"},
         R"~(windows     2 (stored in the document, spacing 4)
slopes      13 (size 3)
offset      0
correlation -1.000000
matches     2
Saved 2 pairs to "pairs.txt".
)~",
         R"~({
  "file": "doc.kst",
  "windows": {"source": "document", "spacing": 4, "count": 2},
  "size": 3,
  "slope_count": 13,
  "offset": 0,
  "origin": 0,
  "correlation": -1.0000000000000002,
  "matches": 2,
  "output": "pairs.txt",
  "warnings": []
}
)~"},
        {{"info", "doc.kst"},
         R"~(D           4
M           3
database    ""
table       ""
X field     ""
Y field     ""
has data    1
H series    0
spacing     4
points      16
windows     2

Global estimator
n           16
H           0.001691
b           -1.998309
r           -0.999698
M'          3
D'          4

r       L(r)   log10 r  log10(L(r)/r)
1  47.531964  0.000000       1.676986
2  22.800383  0.301030       1.056912
3  16.003475  0.477121       0.727093

Tabs
value
    5
   10

Intervals
upper bound  D  M  n         H          b          r
   5.000000  4  3  5  0.556787  -1.443213  -0.931038
  10.000000  4  3  5  0.640118  -1.359882  -0.931038
  15.000000  4  3  5  0.708370  -1.291630  -0.931038
)~",
         R"~({
  "file": "doc.kst",
  "D": 4,
  "M": 3,
  "database": "",
  "table": "",
  "x_field": "",
  "y_field": "",
  "has_data": 1,
  "h_series": 0,
  "spacing": 4,
  "point_count": 16,
  "window_count": 2,
  "estimator": {
    "n": 16,
    "H": 0.0016913342212907523,
    "b": -1.9983086657787092,
    "r": -0.9996980939307732,
    "M": 3,
    "D": 4,
    "lags": [
      {"r": 1, "L": 47.53196364032351, "log10_r": 0, "log10_L_over_r": 1.676985756237559},
      {"r": 2, "L": 22.800382997109683, "log10_r": 0.3010299956639812, "log10_L_over_r": 1.0569121466055205},
      {"r": 3, "L": 16.00347467142041, "log10_r": 0.47712125471966244, "log10_L_over_r": 0.7270930321107767}
    ]
  },
  "tabs": [5, 10],
  "intervals": [
    {"label": "5.000000", "upper_bound": 5, "D": 4, "M": 3, "n": 5, "H": 0.5567874023645081, "b": -1.443212597635492, "r": -0.9310375777196572},
    {"label": "10.000000", "upper_bound": 10, "D": 4, "M": 3, "n": 5, "H": 0.6401178311966329, "b": -1.359882168803367, "r": -0.9310375777196572},
    {"label": "15.000000", "upper_bound": 15, "D": 4, "M": 3, "n": 5, "H": 0.7083699043320011, "b": -1.291630095667999, "r": -0.9310375777196572}
  ],
  "warnings": [
    "Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.",
    "5.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.",
    "10.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.",
    "15.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far."
  ]
}
)~"},
        {{"info", "doc.kst", "--points", "--windows", "--values"},
         R"~(D           4
M           3
database    ""
table       ""
X field     ""
Y field     ""
has data    1
H series    0
spacing     4
points      16
windows     2

Global estimator
n           16
H           0.001691
b           -1.998309
r           -0.999698
M'          3
D'          4

r       L(r)   log10 r  log10(L(r)/r)
1  47.531964  0.000000       1.676986
2  22.800383  0.301030       1.056912
3  16.003475  0.477121       0.727093

Tabs
value
    5
   10

Intervals
upper bound  D  M  n         H          b          r
   5.000000  4  3  5  0.556787  -1.443213  -0.931038
  10.000000  4  3  5  0.640118  -1.359882  -0.931038
  15.000000  4  3  5  0.708370  -1.291630  -0.931038

Values
 i  value
 0    3.5
 1   4.25
 2      2
 3   5.75
 4      6
 5    4.5
 6   7.25
 7      8
 8    6.5
 9      9
10   7.75
11   10.5
12   9.25
13     11
14   12.5
15     10

Points
 X     Y
 0   3.5
 1  4.25
 2     2
 3  5.75
 4     6
 5   4.5
 6  7.25
 7     8
 8   6.5
 9     9
10  7.75
11  10.5
12  9.25
13    11
14  12.5
15    10

Sliding windows
X          H          r          b  n
4   0.139605  -1.000000  -1.860395  8
8  -0.131270  -1.000000  -2.131270  8
)~",
         R"~({
  "file": "doc.kst",
  "D": 4,
  "M": 3,
  "database": "",
  "table": "",
  "x_field": "",
  "y_field": "",
  "has_data": 1,
  "h_series": 0,
  "spacing": 4,
  "point_count": 16,
  "window_count": 2,
  "estimator": {
    "n": 16,
    "H": 0.0016913342212907523,
    "b": -1.9983086657787092,
    "r": -0.9996980939307732,
    "M": 3,
    "D": 4,
    "lags": [
      {"r": 1, "L": 47.53196364032351, "log10_r": 0, "log10_L_over_r": 1.676985756237559},
      {"r": 2, "L": 22.800382997109683, "log10_r": 0.3010299956639812, "log10_L_over_r": 1.0569121466055205},
      {"r": 3, "L": 16.00347467142041, "log10_r": 0.47712125471966244, "log10_L_over_r": 0.7270930321107767}
    ],
    "values": [
      3.5,
      4.25,
      2,
      5.75,
      6,
      4.5,
      7.25,
      8,
      6.5,
      9,
      7.75,
      10.5,
      9.25,
      11,
      12.5,
      10
    ]
  },
  "tabs": [5, 10],
  "intervals": [
    {"label": "5.000000", "upper_bound": 5, "D": 4, "M": 3, "n": 5, "H": 0.5567874023645081, "b": -1.443212597635492, "r": -0.9310375777196572},
    {"label": "10.000000", "upper_bound": 10, "D": 4, "M": 3, "n": 5, "H": 0.6401178311966329, "b": -1.359882168803367, "r": -0.9310375777196572},
    {"label": "15.000000", "upper_bound": 15, "D": 4, "M": 3, "n": 5, "H": 0.7083699043320011, "b": -1.291630095667999, "r": -0.9310375777196572}
  ],
  "points": [
    {"X": 0, "Y": 3.5},
    {"X": 1, "Y": 4.25},
    {"X": 2, "Y": 2},
    {"X": 3, "Y": 5.75},
    {"X": 4, "Y": 6},
    {"X": 5, "Y": 4.5},
    {"X": 6, "Y": 7.25},
    {"X": 7, "Y": 8},
    {"X": 8, "Y": 6.5},
    {"X": 9, "Y": 9},
    {"X": 10, "Y": 7.75},
    {"X": 11, "Y": 10.5},
    {"X": 12, "Y": 9.25},
    {"X": 13, "Y": 11},
    {"X": 14, "Y": 12.5},
    {"X": 15, "Y": 10}
  ],
  "windows": [
    {"X": 4, "H": 0.13960527666814682, "r": -0.9999999999999987, "b": -1.8603947233318532, "n": 8},
    {"X": 8, "H": -0.13127013317983094, "r": -1, "b": -2.131270133179831, "n": 8}
  ],
  "warnings": [
    "Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.",
    "5.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.",
    "10.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.",
    "15.000000: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far."
  ]
}
)~"},
        {{"import", "series.txt", "-o", "new.kst", "--at", "5"},
         R"~(Imported 16 values from "series.txt" into "new.kst" with 1 tab.
)~",
         R"~({
  "file": "series.txt",
  "output": "new.kst",
  "points": 16,
  "tabs": [5],
  "warnings": []
}
)~"},
        {{"import", "--db", "shifted.csv", "--table", "shifted", "--x", "X", "--y", "Y", "-o", "new.kst"},
         R"~(Imported 16 values from table "shifted" of "shifted.csv" into "new.kst".
)~",
         R"~({
  "file": "shifted.csv",
  "table": "shifted",
  "x_field": "X",
  "y_field": "Y",
  "output": "new.kst",
  "points": 16,
  "tabs": [],
  "warnings": []
}
)~"},
        {{"tables", "shifted.csv"},
         R"~(shifted
)~",
         R"~({
  "file": "shifted.csv",
  "tables": [
    "shifted"
  ]
}
)~"},
        {{"fields", "shifted.csv", "shifted"},
         R"~(X
Y
)~",
         R"~({
  "file": "shifted.csv",
  "table": "shifted",
  "fields": [
    "X",
    "Y"
  ]
}
)~"},
        {{"h-data", "doc.kst", "-o", "h.kst"},
         R"~(Saved 2 H values from "doc.kst" into "h.kst".
)~",
         R"~({
  "file": "doc.kst",
  "windows": {"source": "document", "spacing": 4, "count": 2},
  "x_min": 0,
  "output": "h.kst",
  "points": 2,
  "D": 4,
  "M": 2,
  "warnings": []
}
)~"},
        {{"extract", "series.txt", "--from", "3", "--to", "12", "-o", "part.kst"},
         R"~(Saved 10 points from "series.txt" into "part.kst".
)~",
         R"~({
  "file": "series.txt",
  "from": 3,
  "to": 12,
  "x_min": 0,
  "x_max": 15,
  "output": "part.kst",
  "points": 10,
  "warnings": []
}
)~"},
        {{"profile", "series.txt", "-o", "profile.kst"},
         R"~(Saved 16 points from "series.txt" into "profile.kst".
)~",
         R"~({
  "file": "series.txt",
  "output": "profile.kst",
  "points": 16,
  "H": 0.8585831825554897,
  "warnings": []
}
)~"},
    };
    return goldens;
}

} // namespace

} // namespace cli_golden_test
