// The work splitter: every item once, the worker-count rule, progress on the
// calling thread, cancellation and exceptions carried to the caller.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <thread>
#include <vector>

#include "core/WorkSplit.h"

namespace work_split_test {

// Restores the process's rule however a test ends.
struct WorkSplit : ::testing::Test
{
    void TearDown() override { SetWorkerLimit(0); }
};

TEST_F(WorkSplit, WorkerCountFollowsTheRule)
{
    SetWorkerLimit(0);
    EXPECT_GE(WorkerLimit(), 1u);
    SetWorkerLimit(3);
    EXPECT_EQ(WorkerLimit(), 3u);
    EXPECT_EQ(CWorkSplit(100).Workers(), 3u);
    EXPECT_EQ(CWorkSplit(2).Workers(), 2u) << "never more workers than items";
    EXPECT_EQ(CWorkSplit(0).Workers(), 1u);
    EXPECT_EQ(CWorkSplit(-5).Items(), 0);
    EXPECT_EQ(CWorkSplit(100, 5).Workers(), 5u) << "an explicit count is taken as it is";
    SetWorkerLimit(1);
    EXPECT_EQ(CWorkSplit(100).Workers(), 1u);
}

TEST_F(WorkSplit, EveryItemOnceProgressOnTheCaller)
{
    for (unsigned workers : {1u, 2u, 4u}) {
        SCOPED_TRACE(workers);
        const CWorkSplit split(1000, workers);
        std::vector<std::atomic<int>> taken(1000);
        std::vector<std::int64_t> reported;
        const std::thread::id caller = std::this_thread::get_id();
        bool elsewhere = false;
        const bool whole = split.Run(
            [&](std::int64_t item, unsigned worker) {
                ASSERT_LT(worker, split.Workers());
                taken[static_cast<std::size_t>(item)].fetch_add(1);
            },
            [&](std::int64_t finished) {
                elsewhere |= std::this_thread::get_id() != caller;
                reported.push_back(finished);
                return true;
            });
        EXPECT_TRUE(whole);
        EXPECT_FALSE(elsewhere);
        for (const auto& t : taken)
            ASSERT_EQ(t.load(), 1);
        ASSERT_FALSE(reported.empty());
        for (std::size_t i = 1; i < reported.size(); ++i)
            EXPECT_LT(reported[i - 1], reported[i]);
        EXPECT_EQ(reported.back(), 1000);
        if (workers == 1) {
            EXPECT_EQ(reported.size(), 1000u);
        }
    }
}

// The other workers hold their first items until the caller has reported
// once, so the caller always gets an item of its own.
struct CGate
{
    std::atomic<bool> open{false};
    void Wait(unsigned worker) const
    {
        while (worker != 0 && !open.load())
            std::this_thread::yield();
    }
};

TEST_F(WorkSplit, CancellingStopsHandingOut)
{
    for (unsigned workers : {1u, 2u, 4u}) {
        SCOPED_TRACE(workers);
        CGate gate;
        std::atomic<std::int64_t> done{0};
        const bool whole = CWorkSplit(100000, workers)
                               .Run(
                                   [&](std::int64_t, unsigned worker) {
                                       gate.Wait(worker);
                                       done.fetch_add(1);
                                   },
                                   [&](std::int64_t finished) {
                                       gate.open = true;
                                       return finished < 10;
                                   });
        EXPECT_FALSE(whole);
        EXPECT_GE(done.load(), 10);
        EXPECT_LT(done.load(), 100000);
    }
}

TEST_F(WorkSplit, ExceptionsReachTheCaller)
{
    for (unsigned workers : {1u, 2u, 4u}) {
        SCOPED_TRACE(workers);
        // From an item, whichever worker takes it.
        EXPECT_THROW(CWorkSplit(1000, workers).Run([](std::int64_t item, unsigned) {
            if (item == 500)
                throw std::runtime_error("item");
        }),
                     std::runtime_error);
        // From the progress callback.
        CGate gate;
        EXPECT_THROW(CWorkSplit(1000, workers)
                         .Run([&](std::int64_t, unsigned worker) { gate.Wait(worker); },
                              [&](std::int64_t) -> bool {
                                  gate.open = true;
                                  throw std::logic_error("progress");
                              }),
                     std::logic_error);
    }
}

} // namespace work_split_test
