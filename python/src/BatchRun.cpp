#include "python/src/BatchRun.h"

#include <chrono>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "core/WorkSplit.h"

bool CPythonProgress::Report(double fraction)
{
    if (m_stop.load())
        return false;
    const auto now = std::chrono::steady_clock::now();
    if (m_lastTime && fraction < 1.0 && fraction - m_lastFraction < 0.001 &&
        now - *m_lastTime < std::chrono::milliseconds(20))
        return true;
    m_lastTime = now;
    m_lastFraction = fraction;
    py::gil_scoped_acquire acquire;
    try {
        if (PyErr_CheckSignals() != 0)
            throw py::error_already_set();
        if (!m_progress.is_none())
            m_progress(fraction);
    } catch (py::error_already_set& e) {
        m_error.emplace(std::move(e));
        m_stop.store(true);
        return false;
    }
    return true;
}

void CPythonProgress::RaiseIfStopped()
{
    if (m_error) {
        py::error_already_set error = std::move(*m_error);
        m_error.reset();
        throw error;
    }
}

unsigned BatchThreads(unsigned threads)
{
    if (threads > 0)
        return threads;
    return WorkerLimit();
}

void RunBatch(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& task,
              CPythonProgress& progress)
{
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto work = [&](bool caller) {
        using Clock = std::chrono::steady_clock;
        auto lastReport = Clock::now();
        for (std::size_t i = next.fetch_add(1); i < count; i = next.fetch_add(1)) {
            if (failed.load() || progress.Stopped())
                return;
            try {
                task(i);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
                failed.store(true);
                return;
            }
            done.fetch_add(1);
            // The calling thread looks at Python about every 20 ms.
            if (caller && Clock::now() - lastReport > std::chrono::milliseconds(20)) {
                lastReport = Clock::now();
                if (!progress.Report(static_cast<double>(done.load()) / static_cast<double>(count)))
                    return;
            }
        }
    };
    {
        py::gil_scoped_release release;
        std::vector<std::thread> helpers;
        const unsigned wanted = std::min<std::size_t>(BatchThreads(threads), std::max<std::size_t>(count, 1));
        try {
            for (unsigned t = 1; t < wanted; ++t)
                helpers.emplace_back(work, false);
        } catch (const std::system_error&) {
            // Fewer threads than asked: the others take every task.
        }
        work(true);
        // The calling thread has no task left: it keeps answering Ctrl+C
        // until the helpers are done.
        while (done.load() < count && !failed.load() && !progress.Stopped()) {
            const std::size_t before = done.load();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            if (done.load() >= count || failed.load())
                break;
            if (!progress.Report(static_cast<double>(before) / static_cast<double>(count)))
                break;
        }
        for (std::thread& helper : helpers)
            helper.join();
    }
    progress.RaiseIfStopped();
    if (failure)
        std::rethrow_exception(failure);
    if (done.load() == count && count > 0)
        progress.Report(1.0);
    progress.RaiseIfStopped();
}
