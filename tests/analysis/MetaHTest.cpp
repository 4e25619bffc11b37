#include <gtest/gtest.h>

#include "core/HDataSet.h"
#include "platform/HeadlessUi.h"
#include "analysis/MetaH.h"

namespace meta_h_test {

namespace {

CHPointArray Results(int count)
{
    CHPointArray windows;
    for (int i = 0; i < count; ++i) {
        CHPoint p;
        p.m_nCount = 100;
        p.m_dX = 50.0 + i;
        p.m_dY = 0.5 + 0.3 * ((i * 7919) % 13) / 13.0;
        windows.Add(p);
    }
    return windows;
}

} // namespace

TEST(MetaH, UseBestTakesTheNumberOfResultsAsM)
{
    CHeadlessUi ui;
    CHDataSet set;
    const CHPointArray windows = Results(100);
    ASSERT_TRUE(ComputeMetaH(ui, windows, {.nD = 6, .nM = 0}, true, set));
    EXPECT_EQ(set.GetM(), 100);
    EXPECT_EQ(set.GetD(), 6);
    EXPECT_EQ(set.GetCount(), 100);
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Calculating Meta H...", "Ready"}));

    // The same as an estimator filled with the H values by hand.
    CHDataSet plain({.nD = 6, .nM = 100});
    plain.m_bAutoCompute = 0;
    for (const CHPoint& p : windows)
        plain.AddValue(p.m_dY);
    plain.Compute();
    EXPECT_EQ(set.GetH(), plain.GetH());
    EXPECT_EQ(set.GetR(), plain.GetR());
    EXPECT_EQ(set.GetB(), plain.GetB());
}

TEST(MetaH, SetMAtUsesTheGivenParametersAndReplacesTheLastResult)
{
    CHeadlessUi ui;
    CHDataSet set;
    ASSERT_TRUE(ComputeMetaH(ui, Results(100), {.nD = 6, .nM = 0}, true, set));
    ASSERT_TRUE(ComputeMetaH(ui, Results(50), {.nD = 6, .nM = 5}, false, set));
    EXPECT_EQ(set.GetM(), 5);
    EXPECT_EQ(set.GetD(), 6);
    EXPECT_EQ(set.GetCount(), 50);

    ASSERT_TRUE(ComputeMetaH(ui, Results(1), {.nD = 6, .nM = 0}, true, set));
    EXPECT_EQ(set.GetCount(), 1);
}

TEST(MetaH, NoResultsComputeNothingAndSayNothing)
{
    CHeadlessUi ui;
    CHDataSet set;
    ASSERT_TRUE(ComputeMetaH(ui, Results(10), {.nD = 6, .nM = 0}, true, set));
    EXPECT_FALSE(ComputeMetaH(ui, CHPointArray(), {.nD = 6, .nM = 0}, true, set));
    EXPECT_EQ(set.GetCount(), 10);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(MetaH, AnAbsurdMIsRefusedBeforeAnyTableIsMade)
{
    CHeadlessUi ui;
    CHDataSet set;
    EXPECT_FALSE(ComputeMetaH(ui, Results(10), {.nD = 6, .nM = 2000000000}, false, set));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "M must be between 0 and 100000.");
    EXPECT_TRUE(ui.statusTexts.empty());
}

} // namespace meta_h_test
