#include "ChunkThreads.h"

#include <system_error>
#include <thread>

void RunChunksOnTwoThreads(bool twoThreads, std::atomic<std::int64_t>& next, std::int64_t end,
                           const std::function<void()>& helperWork, const std::function<void()>& ownWork)
{
    std::thread helper;
    if (twoThreads) {
        try {
            helper = std::thread(helperWork);
        } catch (const std::system_error&) {
            // No second thread to be had: this one takes every chunk.
        }
    }
    struct CJoin
    {
        std::thread& helper;
        std::atomic<std::int64_t>& next;
        std::int64_t end;
        ~CJoin()
        {
            if (helper.joinable()) {
                next.store(end);
                helper.join();
            }
        }
    } join{helper, next, end};
    ownWork();
}
