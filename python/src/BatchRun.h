#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>

#include <pybind11/pybind11.h>

namespace py = pybind11;

// The calling thread's link to Python while a long computation runs with
// the GIL released: Ctrl+C (a pending signal) and the caller's progress
// callback are looked at here, and either's exception stops the run.
class CPythonProgress
{
public:
    // progress: None, or a callable taking the fraction done (0..1).
    explicit CPythonProgress(py::object progress) : m_progress(std::move(progress)) {}

    // Called without the GIL, on the thread that holds this object's caller;
    // false when the run must stop (Ctrl+C, or the callback raised). A
    // computation may report tens of thousands of times a second: Python is
    // asked only when a thousandth more is done or 20 ms have passed since it
    // was last asked, and always for the first report and for the end.
    bool Report(double fraction);
    bool Stopped() const { return m_stop.load(); }
    const std::atomic<bool>& StopFlag() const { return m_stop; }

    // Raises what stopped the run, if anything; call with the GIL held.
    void RaiseIfStopped();

private:
    py::object m_progress;
    std::optional<std::chrono::steady_clock::time_point> m_lastTime;
    double m_lastFraction = 0.0;
    std::atomic<bool> m_stop{false};
    std::optional<py::error_already_set> m_error;
};

// Runs task(i) for every i in [0, count) on `threads` threads (0: one per
// core), the calling thread among them, with the GIL released. Which thread
// runs a task changes nothing in its result. Between tasks the calling
// thread reports count of done / count to progress; when that stops the run,
// no further task starts and, once the threads are joined, the exception is
// raised. An exception thrown by a task is raised the same way.
void RunBatch(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& task,
              CPythonProgress& progress);

// The threads a run takes: threads, or one per core for 0.
unsigned BatchThreads(unsigned threads);
