#include <sys/resource.h>

#include <algorithm>

#include "platform/openfiles.h"

namespace quillo {

namespace {
// Descriptors left for everything but held folders: the files a pass keeps
// open between pieces, the journal, the window and its libraries.
constexpr rlim_t kOthers = 1024;
constexpr rlim_t kWanted = 65536;
constexpr int kLeast = 128, kMost = 32768;
}  // namespace

int heldFolderRoom() {
    static const int room = [] {
        rlimit limit{};
        if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return kLeast;
        // Desktops start programs at 1,024 with a far higher ceiling.
        if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < limit.rlim_max) {
            rlimit raised = limit;
            raised.rlim_cur = std::min(limit.rlim_max, std::max(limit.rlim_cur, kWanted));
            if (::setrlimit(RLIMIT_NOFILE, &raised) == 0) limit = raised;
        }
        if (limit.rlim_cur == RLIM_INFINITY) return kMost;
        if (limit.rlim_cur <= kOthers + rlim_t(kLeast)) return kLeast;
        return int(std::min(limit.rlim_cur - kOthers, rlim_t(kMost)));
    }();
    return room;
}

}  // namespace quillo
