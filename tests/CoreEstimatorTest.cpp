#include <gtest/gtest.h>

#include "HDataSet.h"

TEST(Estimator, Smoke)
{
    CHDataSet set(1, 2);
    set.m_bAutoCompute = 0;
    for (int i = 0; i < 10; ++i)
        set.AddValue(i);
    set.Compute();
    EXPECT_EQ(set.GetH(), 0.8300749985576876);
}
