// The report pieces the commands share, written from hand-built report rows:
// the text and the JSON say the same numbers, and a number JSON cannot hold
// is null there while the text names it.
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/EstimatorReport.h"
#include "tests/support/JsonValue.h"
#include "cli/JsonWriter.h"
#include "cli/MethodReport.h"
#include "cli/WindowOptions.h"

namespace report_writers_test {

namespace {

// What write puts inside an object, as the JSON text written.
template <class Write>
std::string JsonOf(Write write)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject(true);
    write(json);
    json.EndObject();
    json.Finish();
    EXPECT_NO_THROW(JsonValue::Parse(out)) << out;
    return out;
}

TEST(ReportWriters, EstimatorFiguresAreTheSameNumbersInTextAndJson)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const EstimatorFigures figures{12, 2, 3, 0.5, -inf, nan, {{1, 4.0, 0.0, 0.6}, {2, 0.0, 0.30103, -inf}}};

    std::string text;
    AppendEstimatorFields(text, figures);
    AppendLagTable(text, figures.lags);
    EXPECT_EQ(text, "n           12\n"
                    "D           2\n"
                    "M           3\n"
                    "H           0.500000\n"
                    "b           -inf\n"
                    "r           nan\n"
                    "r      L(r)   log10 r  log10(L(r)/r)\n"
                    "1  4.000000  0.000000       0.600000\n"
                    "2  0.000000  0.301030           -inf\n");
    EXPECT_EQ(JsonOf([&](CJsonWriter& json) {
                  WriteEstimatorFields(json, figures);
                  WriteLagTable(json, figures.lags);
              }),
              "{\"n\": 12, \"D\": 2, \"M\": 3, \"H\": 0.5, \"b\": null, \"r\": null, \"lags\": ["
              "{\"r\": 1, \"L\": 4, \"log10_r\": 0, \"log10_L_over_r\": 0.6}, "
              "{\"r\": 2, \"L\": 0, \"log10_r\": 0.30103, \"log10_L_over_r\": null}]}\n");
}

TEST(ReportWriters, IntervalsAndWindowsShowTheirRowsInOrder)
{
    const std::vector<IntervalRow> intervals{{"5.000000", 5.0, {5, 4, 3, 0.25, -1.75, -0.5, {}}},
                                             {"12.500000", 12.5, {7, 1, 2, 1.0, -1.0, 1.0, {}}}};
    std::string text;
    AppendIntervalTable(text, intervals);
    EXPECT_EQ(text, "upper bound  D  M  n         H          b          r\n"
                    "   5.000000  4  3  5  0.250000  -1.750000  -0.500000\n"
                    "  12.500000  1  2  7  1.000000  -1.000000   1.000000\n");
    EXPECT_EQ(JsonOf([&](CJsonWriter& json) { WriteIntervals(json, intervals); }),
              "{\"intervals\": [{\"label\": \"5.000000\", \"upper_bound\": 5, \"D\": 4, \"M\": 3, \"n\": 5, "
              "\"H\": 0.25, \"b\": -1.75, \"r\": -0.5}, {\"label\": \"12.500000\", \"upper_bound\": 12.5, "
              "\"D\": 1, \"M\": 2, \"n\": 7, \"H\": 1, \"b\": -1, \"r\": 1}]}\n");

    const std::vector<WindowRow> windows{{104.5, 4.5, 0.75, -0.99, -1.25, 8}, {-0.0, -0.0, 1e-7, 1, 0, 9}};
    text.clear();
    AppendWindowTable(text, windows);
    EXPECT_EQ(text, "    X         H          r          b  n\n"
                    "104.5  0.750000  -0.990000  -1.250000  8\n"
                    "   -0  0.000000   1.000000   0.000000  9\n");
    EXPECT_EQ(JsonOf([&](CJsonWriter& json) { WriteWindowResultFields(json, windows[0]); }),
              "{\"H\": 0.75, \"r\": -0.99, \"b\": -1.25, \"n\": 8}\n");
}

struct SourceCase
{
    WindowSource source;
    std::string text;
    std::string json;
};

TEST(ReportWriters, WindowSourceSaysHowTheResultsWereObtained)
{
    const std::vector<SourceCase> cases{
        {{true, 100, 2, 6, 10, 0.5, 451},
         "451 (width 100, spacing 2, D 6, M 10, plot point 0.5)",
         "{\"windows\": {\"source\": \"computed\", \"width\": 100, \"spacing\": 2, \"D\": 6, \"M\": 10, "
         "\"plot_point\": 0.5, \"count\": 451}}\n"},
        {{false, 0, 4, 0, 0, std::nullopt, 2},
         "2 (stored in the document, spacing 4)",
         "{\"windows\": {\"source\": \"document\", \"spacing\": 4, \"count\": 2}}\n"},
        {{false, 0, 1, 0, 0, 0.25, 0},
         "0 (stored in the document, spacing 1, moved to plot point 0.25)",
         "{\"windows\": {\"source\": \"document\", \"spacing\": 1, \"plot_point\": 0.25, \"count\": 0}}\n"},
    };
    for (const SourceCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(WindowSourceText(c.source), c.text);
        EXPECT_EQ(JsonOf([&](CJsonWriter& json) { WriteWindowSource(json, c.source); }), c.json);
    }
}

} // namespace

// The methods' line on the intervals compares those there are and names
// the methods bootstrapped without one; with fewer than two there is none.
TEST(ReportWriters, MethodsLineNamesTheMethodsWithoutAnInterval)
{
    const auto row = [](EHMethod method, std::optional<double> low, std::optional<double> high) {
        CMethodRow r;
        r.estimate.method = method;
        r.bootstrap.emplace();
        r.bootstrap->low = low;
        r.bootstrap->high = high;
        return r;
    };
    const auto line = [](std::vector<CMethodRow> rows) {
        CMethodComparison comparison;
        comparison.rows = std::move(rows);
        std::string out;
        AppendMethodLines(out, comparison);
        const auto at = out.find("methods ");
        return at == std::string::npos ? std::string() : out.substr(at);
    };
    const std::optional<double> none;
    struct Case
    {
        std::vector<CMethodRow> rows;
        std::string line;
    };
    const Case cases[] = {
        {{row(EHMethod::Curve, 0.6, 0.8), row(EHMethod::Dfa, 0.7, 0.9), row(EHMethod::Whittle, 0.75, 0.85)},
         "methods     the intervals overlap\n"},
        {{row(EHMethod::Curve, 0.6, 0.8), row(EHMethod::Dfa, none, none), row(EHMethod::Whittle, 0.85, 0.9)},
         "methods     the intervals do not overlap: the methods disagree; not compared, without an interval: dfa\n"},
        {{row(EHMethod::Curve, 0.6, 0.8), row(EHMethod::Dfa, none, none), row(EHMethod::Whittle, none, 0.9)}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(line(c.rows), c.line);
}

} // namespace report_writers_test
