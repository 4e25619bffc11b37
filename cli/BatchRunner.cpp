#include "cli/BatchRunner.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include <signal.h>

namespace {

constexpr auto kProgressTick = std::chrono::milliseconds(100);

std::atomic<bool> g_stopped{false};
static_assert(std::atomic<bool>::is_always_lock_free);

struct sigaction g_oldInt {};
struct sigaction g_oldTerm {};

extern "C" void OnInterrupt(int signal)
{
    g_stopped.store(true);
    // A second one ends the program as the first would have.
    struct sigaction plain {};
    plain.sa_handler = SIG_DFL;
    sigemptyset(&plain.sa_mask);
    sigaction(signal, &plain, nullptr);
}

// The state the workers and the emitting thread share.
struct Shared
{
    std::mutex mutex;
    std::condition_variable canStart;
    std::condition_variable resultReady;
    std::size_t next = 0;
    // Results taken out of ready, and those of them emitted: a worker
    // starts an item only within the window past the emitted ones.
    std::size_t taken = 0;
    std::size_t emitted = 0;
    std::map<std::size_t, BatchItemResult> ready;
    bool stopping = false;
};

} // namespace

BatchRunSummary RunBatchInOrder(std::size_t count, unsigned jobs,
                                const std::function<BatchItemResult(std::size_t)>& compute,
                                const std::function<void(const BatchItemResult&)>& emit,
                                const std::function<void(std::size_t, std::size_t)>& progress,
                                const std::atomic<bool>& stop)
{
    jobs = std::max(1u, jobs);
    const std::size_t window = kReorderWindowPerJob * jobs;
    Shared shared;
    auto work = [&] {
        for (;;) {
            std::size_t item;
            {
                std::unique_lock lock(shared.mutex);
                shared.canStart.wait(lock, [&] {
                    return shared.stopping || shared.next >= count || shared.next < shared.emitted + window;
                });
                if (shared.stopping || shared.next >= count)
                    return;
                item = shared.next++;
            }
            BatchItemResult result = compute(item);
            {
                std::lock_guard lock(shared.mutex);
                shared.ready.emplace(item, std::move(result));
            }
            shared.resultReady.notify_one();
        }
    };
    std::vector<std::thread> workers;
    const unsigned threads = static_cast<unsigned>(std::min<std::size_t>(jobs, count));
    for (unsigned t = 0; t < threads; ++t)
        workers.emplace_back(work);

    BatchRunSummary summary;
    auto finish = [&] {
        {
            std::lock_guard lock(shared.mutex);
            shared.stopping = true;
        }
        shared.canStart.notify_all();
        for (std::thread& worker : workers)
            worker.join();
    };
    try {
        while (summary.done < count) {
            std::vector<BatchItemResult> batch;
            {
                std::unique_lock lock(shared.mutex);
                shared.resultReady.wait_for(lock, kProgressTick, [&] {
                    return stop.load() || shared.ready.count(shared.taken) > 0;
                });
                for (auto it = shared.ready.find(shared.taken); it != shared.ready.end() && !stop.load();
                     it = shared.ready.find(shared.taken)) {
                    batch.push_back(std::move(it->second));
                    shared.ready.erase(it);
                    ++shared.taken;
                }
            }
            if (stop.load() && batch.empty()) {
                summary.interrupted = true;
                break;
            }
            for (const BatchItemResult& result : batch) {
                emit(result);
                ++summary.done;
                summary.failed += result.failed ? 1 : 0;
            }
            {
                std::lock_guard lock(shared.mutex);
                shared.emitted = summary.done;
            }
            shared.canStart.notify_all();
            progress(summary.done, summary.failed);
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return summary;
}

CInterruptGuard::CInterruptGuard()
{
    g_stopped.store(false);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &g_oldInt);
    sigaction(SIGTERM, &action, &g_oldTerm);
}

CInterruptGuard::~CInterruptGuard()
{
    sigaction(SIGINT, &g_oldInt, nullptr);
    sigaction(SIGTERM, &g_oldTerm, nullptr);
}

const std::atomic<bool>& CInterruptGuard::Stopped()
{
    return g_stopped;
}
