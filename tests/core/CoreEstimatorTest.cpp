#include <cmath>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Archive.h"
#include "core/HDataSet.h"
#include "tests/support/TestSupport.h"

namespace core_estimator_test {

namespace {

CHDataSet Computed(const std::vector<double>& values, int nD, int nM)
{
    CHDataSet set({.nD = nD, .nM = nM});
    set.m_bAutoCompute = 0;
    for (double v : values)
        set.AddValue(v);
    set.Compute();
    return set;
}

} // namespace

TEST(Estimator, WorkedValueStraightLine)
{
    const CHDataSet set = Computed({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1, 2);
    EXPECT_EQ(set.GetL(0), 9.0);
    EXPECT_EQ(set.GetL(1), 8.0);
    EXPECT_EQ(set.GetLogR(0), 0.0);
    EXPECT_NEAR(set.GetLogR(1), 0.30103, 1e-6);
    EXPECT_NEAR(set.GetLogL(0), 0.954243, 1e-6);
    EXPECT_NEAR(set.GetLogL(1), 0.602060, 1e-6);
    EXPECT_EQ(set.GetH(), 0.8300749985576876);
    EXPECT_EQ(set.GetB(), -1.1699250014423124);
    EXPECT_NEAR(set.GetR(), -1.0, 1e-14);
    EXPECT_EQ(set.GetR(), -1.0000000000000016); // the fit's own order of arithmetic
    EXPECT_EQ(set.GetCount(), 10);
}

TEST(Estimator, WorkedValueTwoDimensions)
{
    const CHDataSet set = Computed({1, 3, 2, 5, 4, 6, 5, 8, 7, 9}, 2, 3);
    EXPECT_NEAR(set.GetL(0), 21.593383, 1e-6);
    EXPECT_NEAR(set.GetL(1), 8.944272, 1e-6);
    EXPECT_NEAR(set.GetL(2), 8.123106, 1e-6);
    EXPECT_NEAR(set.GetB(), -1.931013, 1e-6);
    EXPECT_EQ(set.GetH(), 0.06898713444565008);
    EXPECT_EQ(set.GetR(), -0.990237242199398);
}

TEST(Estimator, WorkedValuePeriodicLagEntersFitAsZero)
{
    std::vector<double> values;
    for (int i = 0; i < 12; ++i)
        values.push_back(i % 2);
    const CHDataSet set = Computed(values, 1, 3);
    EXPECT_EQ(set.GetL(0), 11.0);
    EXPECT_EQ(set.GetL(1), 0.0);
    EXPECT_EQ(set.GetL(2), 3.0);
    EXPECT_NEAR(set.GetLogL(0), 1.041393, 1e-6);
    EXPECT_EQ(set.GetLogL(1), 0.0);
    EXPECT_EQ(set.GetLogL(2), 0.0);
    EXPECT_EQ(set.GetH(), -0.32014388502043456);
    EXPECT_EQ(set.GetR(), -0.9310375777196573);
}

TEST(Estimator, DegenerateInputsGiveDefinedNumbers)
{
    // No values: every L is 0, b = 0, H = 2, r = 0.
    CHDataSet empty = Computed({}, 4, 5);
    EXPECT_EQ(empty.GetCount(), 0);
    EXPECT_EQ(empty.GetH(), 2.0);
    EXPECT_EQ(empty.GetB(), 0.0);
    EXPECT_EQ(empty.GetR(), 0.0);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(empty.GetL(i), 0.0);

    // M = 1: a single fit point.
    const CHDataSet one = Computed({1, 5, 2, 8}, 1, 1);
    EXPECT_EQ(one.GetH(), 2.0);
    EXPECT_EQ(one.GetR(), 0.0);

    // M = 0: empty tables.
    const CHDataSet none = Computed({1, 5, 2, 8}, 1, 0);
    EXPECT_EQ(none.GetH(), 2.0);
    EXPECT_EQ(none.GetR(), 0.0);
    EXPECT_EQ(none.GetL(0), 0.0);

    // D >= n: no segments.
    const CHDataSet wide = Computed({1, 5, 2}, 3, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(wide.GetLogL(i), 0.0);
    EXPECT_EQ(wide.GetH(), 2.0);
    EXPECT_EQ(wide.GetR(), 0.0);

    // D = 0: segments of length zero.
    const CHDataSet flat = Computed({1, 5, 2, 8, 3}, 0, 3);
    EXPECT_EQ(flat.GetL(0), 0.0);
    EXPECT_EQ(flat.GetH(), 2.0);

    // A constant series.
    const CHDataSet constant = Computed(std::vector<double>(50, 3.5), 2, 4);
    EXPECT_EQ(constant.GetH(), 2.0);
}

TEST(Estimator, TablesAnswerZeroPastTheEnd)
{
    const CHDataSet set = Computed({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1, 2);
    EXPECT_EQ(set.GetL(1), 8.0);
    EXPECT_EQ(set.GetL(2), 0.0);
    EXPECT_EQ(set.GetLogR(2), 0.0);
    EXPECT_EQ(set.GetLogL(-1), 0.0);
}

TEST(Estimator, ResetKeepsLabelAndSwitch)
{
    CHDataSet set = Computed({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1, 2);
    set.m_strLabel = "Global";
    set.Reset({.nD = 4, .nM = 5});
    EXPECT_EQ(set.GetD(), 4);
    EXPECT_EQ(set.GetM(), 5);
    EXPECT_EQ(set.GetCount(), 0);
    EXPECT_EQ(set.GetValueCount(), 0);
    EXPECT_EQ(set.GetH(), 0.0);
    EXPECT_EQ(set.GetB(), 0.0);
    EXPECT_EQ(set.GetR(), 0.0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(set.GetL(i), 0.0);
        EXPECT_EQ(set.GetLogR(i), 0.0);
    }
    EXPECT_EQ(set.m_strLabel, "Global");
    EXPECT_EQ(set.m_bAutoCompute, 0);
}

TEST(Estimator, AutomaticComputation)
{
    CHDataSet def;
    EXPECT_EQ(def.GetD(), 5);
    EXPECT_EQ(def.GetM(), 5);
    EXPECT_EQ(def.m_bAutoCompute, 1);

    // Off: adding values changes neither n nor the results until Compute.
    CHDataSet manual({.nD = 1, .nM = 2});
    manual.m_bAutoCompute = 0;
    for (int i = 0; i < 10; ++i)
        manual.AddValue(i);
    EXPECT_EQ(manual.GetCount(), 0);
    EXPECT_EQ(manual.GetH(), 0.0);

    // On: every AddValue and setter computes at once.
    CHDataSet automatic({.nD = 1, .nM = 2});
    for (int i = 0; i < 10; ++i)
        automatic.AddValue(i);
    EXPECT_EQ(automatic.GetCount(), 10);
    EXPECT_EQ(automatic.GetH(), 0.8300749985576876);
    automatic.SetM(3);
    EXPECT_EQ(automatic.GetL(2), 9.0); // values 0..9, lag 3: three steps of 3
    automatic.SetD(2);
    EXPECT_EQ(automatic.GetD(), 2);
    EXPECT_EQ(automatic.GetCount(), 10);
}

TEST(Estimator, SaveAndRestoreBitForBit)
{
    CHDataSet source = Computed({1, 3, 2, 5, 4, 6, 5, 8, 7, 9}, 2, 3);
    // A change of M that was never recomputed must survive as it stands.
    source.m_bAutoCompute = 0;

    std::vector<std::uint8_t> bytes;
    {
        CMemorySink sink(bytes);
        CArchive ar(sink);
        source.Serialize(ar);
        ar.Flush();
    }
    ASSERT_EQ(bytes.size(), 36u + 3 * 24 + 10 * 8);

    CHDataSet target({.nD = 7, .nM = 9});
    target.m_strLabel = "kept";
    target.m_bAutoCompute = 1;
    CMemorySource in(bytes);
    CArchive ar(in);
    target.Serialize(ar);
    EXPECT_EQ(target.m_strLabel, "kept");
    EXPECT_EQ(target.m_bAutoCompute, 1);
    EXPECT_EQ(target.GetCount(), 10);
    EXPECT_EQ(target.GetD(), 2);
    EXPECT_EQ(target.GetM(), 3);
    EXPECT_EQ(Bits(target.GetH()), Bits(source.GetH()));
    EXPECT_EQ(Bits(target.GetB()), Bits(source.GetB()));
    EXPECT_EQ(Bits(target.GetR()), Bits(source.GetR()));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Bits(target.GetL(i)), Bits(source.GetL(i)));
        EXPECT_EQ(Bits(target.GetLogR(i)), Bits(source.GetLogR(i)));
        EXPECT_EQ(Bits(target.GetLogL(i)), Bits(source.GetLogL(i)));
    }
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Bits(target.GetValue(i)), Bits(source.GetValue(i)));
}

// A series and an estimator may read one storage of values; whichever of
// them changes it first takes a copy of its own, and the other keeps seeing
// the values as they were.
TEST(Estimator, SharedValuesAreCopiedBeforeAChange)
{
    CSeriesArray series;
    for (double y : {3.0, 1.0, 4.0})
        series.Add(CSeriesPoint{.m_dY = y, .m_dX = y * 2});

    CSeriesArray copy = series;
    EXPECT_EQ(copy.Ys(), series.Ys());
    copy.Set(1, CSeriesPoint{.m_dY = 7.0, .m_dX = 8.0});
    EXPECT_NE(copy.Ys(), series.Ys());
    EXPECT_EQ(series[1].m_dY, 1.0);
    EXPECT_EQ(series[1].m_dX, 2.0);
    EXPECT_EQ(copy[1].m_dY, 7.0);
    EXPECT_EQ(copy[1].m_dX, 8.0);

    CHDataSet set;
    set.ShareValues(series.SharedYs());
    EXPECT_EQ(std::as_const(set).Values().GetData(), series.Ys());
    const CHDataSet other = set;
    set.AddValue(5.0);
    EXPECT_EQ(set.GetValueCount(), 4);
    EXPECT_EQ(series.GetSize(), 3);
    EXPECT_EQ(other.GetValueCount(), 3);

    series.SetY(0, -1.0);
    EXPECT_EQ(other.GetValue(0), 3.0);
    EXPECT_EQ(set.GetValue(0), 3.0);
    EXPECT_EQ(series[0].m_dY, -1.0);
    EXPECT_NE(series.Ys(), std::as_const(other).Values().GetData());
}

} // namespace core_estimator_test
