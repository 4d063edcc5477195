#pragma once
// The one list of collected files: parallel 1-based columns (slot 0 unused).

#include <QString>
#include <vector>

namespace quillo {

// Kind labels.
inline const QString kKindRefer = QStringLiteral("参照");
inline const QString kKindTarget = QStringLiteral("対象");

struct FileTable {
    std::vector<QString> FileDir{QString()};   // folder text ending with the separator
    std::vector<QString> FileName{QString()};  // name as the listing gave it
    std::vector<qint64> FileSize{0};           // bytes, when appended
    std::vector<QString> FileKind{QString()};  // kKindRefer or kKindTarget
    qint32 FileCount = 0;

    // Raises FileCount and writes the four cells at the new slot.
    void append(const QString& dir, const QString& name, qint64 size, const QString& kind);

    // Empties the table and gives its memory back.
    void clear();

    // FileDir + FileName of entry i.
    QString path(qint32 i) const { return FileDir[size_t(i)] + FileName[size_t(i)]; }
};

}  // namespace quillo
