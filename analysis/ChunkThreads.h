#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

// Runs a chunked computation on this thread and, when twoThreads is set and
// a thread can be had, on a helper thread as well: helperWork on the helper,
// ownWork here, both taking chunk numbers from `next` until they reach
// `end`. However ownWork leaves (a progress callback may throw), `next` is
// then set to `end`, so the helper takes no further chunk, and the helper is
// joined before this returns or the exception goes on.
void RunChunksOnTwoThreads(bool twoThreads, std::atomic<std::int64_t>& next, std::int64_t end,
                           const std::function<void()>& helperWork, const std::function<void()>& ownWork);
