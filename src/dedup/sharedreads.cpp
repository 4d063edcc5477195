#include "dedup/sharedreads.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace quillo {

bool SharedReads::run(size_t n, CompareBuffers& mine, const std::function<bool()>& goOn,
                      const std::function<void(size_t, CompareBuffers&)>& read) {
    std::atomic<size_t> next{0};
    std::atomic<bool> stopped{false};
    const auto work = [&](CompareBuffers& buffers, bool asks) {
        for (size_t x; !stopped && (x = next++) < n;) {
            if (asks && !goOn()) {
                stopped = true;
                return;
            }
            read(x, buffers);
        }
    };
    std::vector<std::thread> helpers;
    if (n >= m_sharedFrom) {
        // Twice the cores, up to four readers: a cold disk keeps them waiting.
        const size_t count = std::clamp<size_t>(std::thread::hardware_concurrency() * 2, 2, 4) - 1;
        m_helperBuffers.resize(count);
        try {
            for (size_t h = 0; h < count; ++h)
                helpers.emplace_back(work, std::ref(m_helperBuffers[h]), false);
        } catch (const std::system_error&) {
            // No thread to spare: this one reads the rest alone.
        }
    }
    work(mine, true);
    for (std::thread& helper : helpers) helper.join();
    return !stopped;
}

}  // namespace quillo
