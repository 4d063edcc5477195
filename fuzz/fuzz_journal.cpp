// libFuzzer target: any bytes as a journal, their first line also as a file
// name. Reading must never crash, and every row read must come back the same
// after being written out and read again; so must a name.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "journal/journalfiles.h"
#include "journal/journalreader.h"
#include "journal/journalrow.h"

namespace {

[[noreturn]] void fail(const char* why) {
    std::fprintf(stderr, "journal round trip: %s\n", why);
    std::abort();
}

bool same(const quillo::JournalRow& a, const quillo::JournalRow& b) {
    return a.timeMs == b.timeMs && a.op == b.op && a.oldPath == b.oldPath &&
           a.newPath == b.newPath && a.keptPath == b.keptPath && a.before.size == b.before.size &&
           a.before.device == b.before.device && a.before.inode == b.before.inode &&
           a.before.mtimeNs == b.before.mtimeNs && a.state == b.state && a.code == b.code;
}

void checkRows(QByteArrayView bytes) {
    const std::vector<quillo::JournalRow> rows = quillo::parseJournalRows(bytes);
    quillo::LocalTimeText time;
    for (const quillo::JournalRow& row : rows) {
        const quillo::RowPaths paths = quillo::encodeRowPaths(row);
        QByteArray line(quillo::maxRowBytes(paths), Qt::Uninitialized);
        qsizetype outcomeAt = 0;
        char* end = quillo::writeRow(row, row.timeMs, paths, time, line.data(), &outcomeAt);
        line.truncate(end - line.constData());
        if (!line.endsWith('\n') || line.count('\n') != 1) fail("a row is not one line");
        const std::vector<quillo::JournalRow> back = quillo::parseJournalRows(line);
        if (back.size() != 1) fail("a written row does not read");
        if (!same(back[0], row)) fail("a row changed on the way");
    }
}

void checkName(QByteArrayView bytes) {
    const qsizetype lf = bytes.indexOf('\n');
    const QString text = QString::fromUtf8(lf < 0 ? bytes : bytes.first(lf));
    const std::optional<quillo::JournalName> name = quillo::parseJournalName(text);
    if (!name) return;
    const std::optional<quillo::JournalName> back =
        quillo::parseJournalName(quillo::journalFileName(*name));
    if (!back) fail("a written name does not read");
    if (back->start != name->start || back->kind != name->kind ||
        back->firstNumber != name->firstNumber || back->counter != name->counter ||
        back->undone != name->undone)
        fail("a name changed on the way");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkRows(bytes);
    checkName(bytes);
    return 0;
}
