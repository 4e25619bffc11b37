#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>

// What one item of a batch gave: its output text (whole rows) and how many
// of its rows failed.
struct BatchItemResult
{
    std::string text;
    bool failed = false;
};

struct BatchRunSummary
{
    std::size_t done = 0;
    std::size_t failed = 0;
    bool interrupted = false;
};

// Computes count items on jobs worker threads and hands each result to emit
// on the calling thread, in item order, as soon as it and every earlier one
// are done. A worker starts item i only while i is within a window of a few
// times jobs past the first item not yet emitted, so however many items
// there are, at most that many results wait and at most jobs items are
// being computed (each holding its own data). compute must not throw.
// progress(done, failed) is called after each emit and every fraction of a
// second while waiting. When stop becomes set (an interrupt), no further
// item is started, the items being computed are finished and discarded, and
// the summary says so; emit is never called after that.
BatchRunSummary RunBatchInOrder(std::size_t count, unsigned jobs,
                                const std::function<BatchItemResult(std::size_t)>& compute,
                                const std::function<void(const BatchItemResult&)>& emit,
                                const std::function<void(std::size_t, std::size_t)>& progress,
                                const std::atomic<bool>& stop);

// How many results may wait for an earlier one, per job.
inline constexpr std::size_t kReorderWindowPerJob = 4;

// While it lives, Ctrl+C (SIGINT) and SIGTERM set Stopped() instead of
// ending the program; a second one ends it at once. The previous handlers
// come back when it goes.
class CInterruptGuard
{
public:
    CInterruptGuard();
    ~CInterruptGuard();
    CInterruptGuard(const CInterruptGuard&) = delete;
    CInterruptGuard& operator=(const CInterruptGuard&) = delete;

    static const std::atomic<bool>& Stopped();
};
