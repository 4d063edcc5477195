#include "dedup/comparebuffers.h"

#include <algorithm>
#include <new>

namespace quillo {

namespace {
constexpr std::align_val_t kPage{4096};
}

void CompareBuffers::PageFree::operator()(char* p) const {
    ::operator delete(p, kPage);
}

char* CompareBuffers::get(int which, qint64 bytes) {
    const auto need = size_t(std::max<qint64>(1, bytes));
    if (m_sizes[which] < need) {
        // Rounded up to whole pages: a piece one byte longer does not realloc.
        const size_t size = (need + 4095) & ~size_t(4095);
        m_buffers[which].reset(static_cast<char*>(::operator new(size, kPage)));
        m_sizes[which] = size;
    }
    return m_buffers[which].get();
}

Result<qint64> readFully(InputFile& file, char* buffer, qint64 want) {
    qint64 got = 0;
    while (got < want) {
        Result<qint64> r = file.read(buffer + got, want - got);
        if (!r) return r.failure();
        if (r.value() == 0) break;
        got += r.value();
    }
    return got;
}

}  // namespace quillo
