#pragma once

#include <cstdint>
#include <functional>

// Splitting a computation into numbered items shared by worker threads.
//
// The rule for how many workers a computation gets: as many as the machine
// has cores, unless the process sets a limit (SetWorkerLimit, or the
// environment variable KESTRIN_THREADS read once at the first use), and never
// more than there are items. A computation that asks for a count of its own
// (the tests do) gets that count. Every computation that splits its work this
// way gives the same numbers bit for bit whatever the count: an item's result
// never depends on which worker computed it, or when.

// Workers a computation gets when it does not ask for a count: n >= 1 sets
// the limit, 0 goes back to KESTRIN_THREADS or, without it, the core count.
void SetWorkerLimit(unsigned n);

// The count that rule gives now (at least 1).
unsigned WorkerLimit();

// Hands out the items 0, 1, ..., items - 1 one at a time, in increasing
// order, to `Workers()` workers: the calling thread is worker 0 and the
// others are threads started for the run (fewer when the system has no more
// to give: the same numbers, later). Per-worker state is kept by the caller,
// indexed by the worker number.
//
// Progress is reported on the calling thread only: after each item the
// caller's worker finishes, with the number of items finished by all workers
// so far (increasing), and, when the other workers finished the last items,
// once more with the item count at the end. Returning false from it cancels
// the run: no further item is handed out, and Run returns false once the
// items already taken are finished.
//
// An exception from an item (on any worker) or from the progress callback
// stops the handing out in the same way; once every worker has stopped, Run
// throws the first one on the calling thread.
class CWorkSplit
{
public:
    using Work = std::function<void(std::int64_t item, unsigned worker)>;
    using Progress = std::function<bool(std::int64_t finished)>;

    // workers: 0 for the process's rule (WorkerLimit()), otherwise that many.
    // Never more workers than items, and at least one.
    CWorkSplit(std::int64_t items, unsigned workers = 0);

    std::int64_t Items() const { return m_items; }
    unsigned Workers() const { return m_workers; }

    // True when every item was computed; false when progress cancelled.
    bool Run(const Work& work, const Progress& progress = {}) const;

private:
    std::int64_t m_items;
    unsigned m_workers;
};
