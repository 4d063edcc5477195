#include "dedup/comparisonmemo.h"

#include <algorithm>

namespace quillo {

size_t pieceCount(qint64 size, bool stepped) {
    size_t k = 0;
    for (qint64 done = 0; done < size; ++k) done += pieceLength(k, stepped);
    return k;
}

bool sameState(const FileInfo& a, const FileInfo& b) {
    return sameFile(a, b) && a.size == b.size && a.mtimeNs == b.mtimeNs && a.type == b.type;
}

void ComparisonMemo::differedAt(qint64 size, size_t piece) {
    if (size != m_depthSize) {
        m_depthSize = size;
        m_depth = 0;
    }
    m_depth = std::max(m_depth, piece);
}

bool ComparisonMemo::provesDifferent(int id1, int id2, qint64 size) const {
    if (id1 < 0 || id2 < 0) return false;
    const Known& a = m_known[size_t(id1)];
    const Known& b = m_known[size_t(id2)];
    if (a.identity.size != size || b.identity.size != size) return false;
    const size_t common = std::min(a.prefix.size(), b.prefix.size());
    return common > 0 && a.prefix[common - 1] != b.prefix[common - 1];
}

bool ComparisonMemo::provesDifferent(const QString& path1, const QString& path2,
                                     qint64 size) const {
    const int id1 = idOf(path1);
    return id1 >= 0 && provesDifferent(id1, idOf(path2), size);
}

const ComparisonMemo::Known* ComparisonMemo::find(const QString& path,
                                                  const FileInfo& identity) const {
    const int id = idOf(path);
    if (id < 0 || !sameState(m_known[size_t(id)].identity, identity)) return nullptr;
    return &m_known[size_t(id)];
}

void ComparisonMemo::record(const QString& path, const FileInfo& identity,
                            std::vector<quint64> prefix) {
    if (prefix.empty()) return;
    const int id = idOf(path);
    if (id < 0) {
        m_index.insert(path, int(m_known.size()));
        m_known.push_back(Known{identity, std::move(prefix)});
        return;
    }
    Known& k = m_known[size_t(id)];
    if (sameState(k.identity, identity) && k.prefix.size() >= prefix.size()) return;
    k = Known{identity, std::move(prefix)};
}

void ComparisonMemo::forget(const QString& path) {
    const int id = idOf(path);
    if (id < 0) return;
    m_known[size_t(id)] = Known{};
    m_index.remove(path);
}

}  // namespace quillo
