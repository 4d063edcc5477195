#include "dedup/comparebuffers.h"

#include <algorithm>

namespace quillo {

char* CompareBuffers::get(int which, qint64 bytes) {
    std::vector<char>& b = m_buffers[which];
    const auto need = size_t(std::max<qint64>(1, bytes));
    if (b.size() < need) b.resize(need);
    return b.data();
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
