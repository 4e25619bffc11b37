#include "core/WorkSplit.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// KESTRIN_THREADS as a count of at least 1, or 0 when it is unset or not a
// plain positive number.
unsigned EnvironmentLimit()
{
    const char* text = std::getenv("KESTRIN_THREADS");
    if (!text)
        return 0;
    unsigned n = 0;
    const char* end = text + std::strlen(text);
    const auto [p, ec] = std::from_chars(text, end, n);
    return ec == std::errc() && p == end ? n : 0;
}

unsigned DefaultLimit()
{
    // Both are read once: hardware_concurrency reads the system's CPU list on
    // every call.
    static const unsigned count = [] {
        const unsigned fromEnvironment = EnvironmentLimit();
        return fromEnvironment > 0 ? fromEnvironment : std::max(1u, std::thread::hardware_concurrency());
    }();
    return count;
}

std::atomic<unsigned> g_limit{0};

} // namespace

void SetWorkerLimit(unsigned n)
{
    g_limit.store(n);
}

unsigned WorkerLimit()
{
    const unsigned set = g_limit.load();
    return set > 0 ? set : DefaultLimit();
}

CWorkSplit::CWorkSplit(std::int64_t items, unsigned workers)
    : m_items(std::max<std::int64_t>(items, 0)),
      m_workers(static_cast<unsigned>(std::clamp<std::int64_t>(workers > 0 ? workers : WorkerLimit(), 1,
                                                               std::max<std::int64_t>(m_items, 1))))
{
}

bool CWorkSplit::Run(const Work& work, const Progress& progress) const
{
    std::atomic<std::int64_t> next{0};
    std::atomic<std::int64_t> finished{0};
    std::atomic<bool> stop{false};
    bool cancelled = false;
    std::int64_t reported = 0; // the caller's last report
    std::exception_ptr failure;
    std::mutex failureLock;

    auto take = [&](unsigned worker) {
        try {
            for (std::int64_t item = next.fetch_add(1); item < m_items && !stop.load();
                 item = next.fetch_add(1)) {
                work(item, worker);
                const std::int64_t done = finished.fetch_add(1) + 1;
                if (worker == 0 && progress) {
                    reported = done;
                    if (!progress(done)) {
                        cancelled = true;
                        stop = true;
                    }
                }
            }
        } catch (...) {
            const std::lock_guard<std::mutex> lock(failureLock);
            if (!failure)
                failure = std::current_exception();
            stop = true;
        }
    };

    std::vector<std::thread> helpers;
    helpers.reserve(m_workers - 1);
    for (unsigned w = 1; w < m_workers; ++w) {
        try {
            helpers.emplace_back(take, w);
        } catch (const std::system_error&) {
            break; // fewer workers: the same numbers, later
        }
    }
    take(0);
    for (std::thread& t : helpers)
        t.join();
    if (failure)
        std::rethrow_exception(failure);
    // The other workers may have finished the last items: the caller hears
    // of them too.
    if (!cancelled && progress && reported < m_items)
        progress(m_items);
    return !cancelled;
}
