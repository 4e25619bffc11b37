// The parts of a run over many series, called directly: the tidy table's
// lines, the ordered parallel runner and its bound, the progress line.
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

#include <gtest/gtest.h>

#include "cli/BatchRunner.h"
#include "cli/ProgressLine.h"
#include "cli/TidyTable.h"

namespace batch_parts_test {

namespace {

const std::vector<std::string> kColumns{"source", "n", "H", "status"};

struct LineCase
{
    TidyFormat format;
    std::vector<TidyValue> cells;
    std::string line;
};

TEST(TidyTable, RowsAreWrittenAsEachFormatAsksAndNumbersReadBack)
{
    const double third = 1.0 / 3.0;
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<LineCase> cases{
        {TidyFormat::csv, {std::string("a.txt"), std::int64_t{10}, 0.5, std::string("ok")}, "a.txt,10,0.5,ok\n"},
        {TidyFormat::csv, {std::string("a,b.txt"), {}, third, std::string("warning: x")},
         "\"a,b.txt\",,0.3333333333333333,warning: x\n"},
        {TidyFormat::csv, {std::string("say \"hi\""), {}, std::nan(""), std::string("line\nbreak\r")},
         "\"say \"\"hi\"\"\",,,\"line\nbreak\r\"\n"},
        {TidyFormat::csv, {std::string(""), {}, -inf, std::string("ok")}, ",,-Inf,ok\n"},
        {TidyFormat::tsv, {std::string("a\tb\nc"), std::int64_t{-3}, 1e-300, std::string("a,\"b\"")},
         "a b c\t-3\t1e-300\ta,\"b\"\n"},
        {TidyFormat::jsonl, {std::string("q\"\\"), {}, inf, std::string("ok")},
         "{\"source\": \"q\\\"\\\\\", \"n\": null, \"H\": null, \"status\": \"ok\"}\n"},
        {TidyFormat::jsonl, {std::string("x"), std::int64_t{7}, 0.1, std::string("ok")},
         "{\"source\": \"x\", \"n\": 7, \"H\": 0.1, \"status\": \"ok\"}\n"},
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(TidyRowLine(c.format, kColumns, c.cells), c.line);
    EXPECT_EQ(TidyHeaderLine(TidyFormat::csv, kColumns), "source,n,H,status\n");
    EXPECT_EQ(TidyHeaderLine(TidyFormat::tsv, kColumns), "source\tn\tH\tstatus\n");
    EXPECT_EQ(TidyHeaderLine(TidyFormat::jsonl, kColumns), "");
    TidyFormat format = TidyFormat::csv;
    EXPECT_TRUE(ParseTidyFormat("jsonl", format));
    EXPECT_EQ(format, TidyFormat::jsonl);
    EXPECT_FALSE(ParseTidyFormat("CSV", format));
}

// Items that take uneven times come out in order; none starts further ahead
// of the emitted ones than the window allows, and no more than jobs run.
TEST(BatchRunner, EmitsInOrderWithinTheWindowAtOneAndFourJobs)
{
    for (const unsigned jobs : {1u, 4u}) {
        constexpr std::size_t kCount = 300;
        std::atomic<std::size_t> emitted{0};
        std::atomic<int> running{0};
        std::atomic<int> mostRunning{0};
        std::atomic<std::size_t> furthestAhead{0};
        std::vector<std::size_t> order;
        const std::atomic<bool> stop{false};
        const BatchRunSummary summary = RunBatchInOrder(
            kCount, jobs,
            [&](std::size_t i) {
                const int now = ++running;
                for (int seen = mostRunning; now > seen && !mostRunning.compare_exchange_weak(seen, now);) {
                }
                const std::size_t ahead = i - std::min(i, emitted.load());
                for (std::size_t seen = furthestAhead;
                     ahead > seen && !furthestAhead.compare_exchange_weak(seen, ahead);) {
                }
                // Every seventh item is slow, so later ones finish first.
                std::this_thread::sleep_for(std::chrono::microseconds(i % 7 == 0 ? 3000 : 100));
                --running;
                return BatchItemResult{std::to_string(i), i % 50 == 0};
            },
            [&](const BatchItemResult& result) {
                order.push_back(std::stoul(result.text));
                ++emitted;
            },
            [](std::size_t, std::size_t) {}, stop);
        ASSERT_EQ(order.size(), kCount);
        for (std::size_t i = 0; i < kCount; ++i)
            ASSERT_EQ(order[i], i) << jobs << " jobs";
        EXPECT_EQ(summary.done, kCount);
        EXPECT_EQ(summary.failed, kCount / 50);
        EXPECT_FALSE(summary.interrupted);
        EXPECT_LE(mostRunning.load(), static_cast<int>(jobs));
        EXPECT_LT(furthestAhead.load(), kReorderWindowPerJob * jobs);
    }
}

TEST(BatchRunner, StopEndsTheRunWithoutFurtherRows)
{
    std::atomic<bool> stop{false};
    std::size_t emitted = 0;
    const BatchRunSummary summary = RunBatchInOrder(
        10000, 2,
        [](std::size_t) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            return BatchItemResult{"x", false};
        },
        [&](const BatchItemResult&) {
            if (++emitted == 20)
                stop = true;
        },
        [](std::size_t, std::size_t) {}, stop);
    EXPECT_TRUE(summary.interrupted);
    EXPECT_EQ(summary.done, emitted);
    EXPECT_LT(emitted, 200u);
}

TEST(ProgressLine, SaysDoneFailedElapsedAndLeft)
{
    EXPECT_EQ(CProgressLine::Text(0, 400, 0, 0.0), "0 of 400 series, 0 failed, 0:00 elapsed");
    EXPECT_EQ(CProgressLine::Text(100, 400, 2, 65.0), "100 of 400 series, 2 failed, 1:05 elapsed, 3:15 left");
    EXPECT_EQ(CProgressLine::Text(1, 10, 0, 3600.0), "1 of 10 series, 0 failed, 1:00:00 elapsed, 9:00:00 left");
    EXPECT_EQ(CProgressLine::Text(10, 10, 1, 5.4), "10 of 10 series, 1 failed, 0:05 elapsed");
}

} // namespace

} // namespace batch_parts_test
