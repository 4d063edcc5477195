#include "dedup/comparisonmemo.h"

#include <algorithm>

namespace quillo {

bool sameState(const FileInfo& a, const FileInfo& b) {
    return sameFile(a, b) && a.size == b.size && a.mtimeNs == b.mtimeNs && a.type == b.type;
}

const ComparisonMemo::Known* ComparisonMemo::lookup(const QString& path, int slot) const {
    if (m_lastKnown[slot] && path == m_lastPath[slot]) return m_lastKnown[slot];
    const auto it = m_known.constFind(path);
    if (it == m_known.cend()) return nullptr;
    m_lastPath[slot] = path;
    m_lastKnown[slot] = &it.value();
    return m_lastKnown[slot];
}

void ComparisonMemo::dropCache() {
    m_lastKnown[0] = m_lastKnown[1] = nullptr;
}

bool ComparisonMemo::provesDifferent(const QString& path1, const QString& path2,
                                     qint64 size) const {
    const Known* a = lookup(path1, 0);
    if (!a || a->identity.size != size) return false;
    const Known* b = lookup(path2, 1);
    if (!b || b->identity.size != size) return false;
    const size_t common = std::min(a->prefix.size(), b->prefix.size());
    return common > 0 && a->prefix[common - 1] != b->prefix[common - 1];
}

const ComparisonMemo::Known* ComparisonMemo::find(const QString& path,
                                                  const FileInfo& identity) const {
    const auto it = m_known.constFind(path);
    if (it == m_known.cend() || !sameState(it->identity, identity)) return nullptr;
    return &it.value();
}

void ComparisonMemo::record(const QString& path, const FileInfo& identity,
                            std::vector<quint64> prefix) {
    if (prefix.empty()) return;
    // Insertion may move entries: drop the cached pointers first.
    dropCache();
    auto it = m_known.find(path);
    if (it != m_known.end() && sameState(it->identity, identity) &&
        it->prefix.size() >= prefix.size())
        return;
    m_known.insert(path, Known{identity, std::move(prefix)});
}

void ComparisonMemo::forget(const QString& path) {
    dropCache();
    m_known.remove(path);
}

}  // namespace quillo
