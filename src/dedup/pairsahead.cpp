#include "dedup/pairsahead.h"

namespace quillo {

std::optional<Compared> PairsAhead::take(qint32 place) {
    if (place >= m_filledTo) fill(place);
    while (m_next < m_ready.size() && m_ready[m_next].place < place) ++m_next;
    if (m_next == m_ready.size() || m_ready[m_next].place != place) return std::nullopt;
    return std::move(m_ready[m_next++].verdict);
}

void PairsAhead::fill(qint32 place) {
    m_ready.clear();
    m_next = 0;
    const qint32 count = qint32(m_order.size());
    const qint32 last = std::min(count, place + kLookAhead);
    qint64 bytes = 0;
    qint32 p = place;
    while (p < last && m_ready.size() < kBatch) {
        qint32 end = p + 1;
        while (end < count && at(end).size == at(p).size) ++end;
        const qint64 size = at(p).size;
        // Only what the loop would compare: a second file that is not kept,
        // in a folder that is held and holds no references.
        if (end - p == 2 && !m_guard.keeps(at(p + 1))) {
            if (!m_ready.empty() && bytes + 2 * size > kBatchBytes) break;
            const Result<CachedFolder> second = m_folders.folder(at(p + 1).dir.text());
            const Result<CachedFolder> first = m_folders.folder(at(p).dir.text());
            if (first && second && !second->holdsReferences) {
                m_ready.push_back(
                    {p, {first->handle, second->handle}, {at(p).path(), at(p + 1).path()}, {}});
                bytes += 2 * size;
            }
        }
        p = end;
    }
    m_filledTo = p;
    m_shared.run(
        m_ready.size(), m_buffers, [] { return true; },
        [&](size_t x, CompareBuffers& buffers) {
            Pair& pair = m_ready[x];
            const FileEntry& first = at(pair.place);
            const FileEntry& second = at(pair.place + 1);
            pair.verdict =
                compareFiles({*pair.folders[0], first.name, pair.paths[0]},
                             {*pair.folders[1], second.name, pair.paths[1]}, second.size, buffers);
        });
}

}  // namespace quillo
