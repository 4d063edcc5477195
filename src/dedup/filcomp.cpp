// The comparison of two files of equal recorded size and the removal of the
// second when they are identical.
#include <cstring>
#include <optional>

#include "dedup/comparisonmemo.h"
#include "dedup/duplicatepass.h"
#include "dedup/hashedreader.h"
#include "platform/paths.h"

namespace quillo {

namespace {

// The state of both files as opened, when they may still be identical.
struct OpenPair {
    std::unique_ptr<InputFile> file1, file2;
    FileInfo info1, info2;
};

// Only a regular file holding exactly size bytes can be a duplicate; the same
// file reached by two paths is never a duplicate of itself.
bool candidate(const FileInfo& a, const FileInfo& b, qint64 size) {
    return a.type == EntryType::File && b.type == EntryType::File && a.size == size &&
           b.size == size && !sameFile(a, b);
}

// Opens both files, the first first. A failure is returned as the caller's
// failure; nullopt means the pair is plainly different.
Result<std::optional<OpenPair>> openPair(const QString& path1, const QString& path2, qint64 size,
                                         FileSystem& fs) {
    // Looking first keeps a special file (a pipe left where a file was) from
    // blocking the open, and spares reading files that cannot match.
    Result<FileInfo> seen1 = fs.info(path1);
    if (!seen1) return seen1.failure();
    Result<FileInfo> seen2 = fs.info(path2);
    if (!seen2) return seen2.failure();
    if (!candidate(seen1.value(), seen2.value(), size)) return std::optional<OpenPair>();

    OpenPair pair;
    auto f1 = fs.openRead(path1);
    if (!f1) return f1.failure();
    pair.file1 = std::move(f1.value());
    auto f2 = fs.openRead(path2);
    if (!f2) return f2.failure();
    pair.file2 = std::move(f2.value());
    // What was opened is what counts: a path may have been swapped since the look.
    Result<FileInfo> i1 = pair.file1->info();
    if (!i1) return i1.failure();
    Result<FileInfo> i2 = pair.file2->info();
    if (!i2) return i2.failure();
    pair.info1 = i1.value();
    pair.info2 = i2.value();
    if (!candidate(pair.info1, pair.info2, size)) return std::optional<OpenPair>();
    return std::optional<OpenPair>(std::move(pair));
}

// Whether the digest already known for one file at piece k rules out the other.
bool knownDiffers(const ComparisonMemo::Known* known, size_t k, quint64 digest) {
    return known && known->prefix.size() > k && known->prefix[k] != digest;
}

// Compares the two open files byte for byte, piece by piece, stopping at the
// first difference. Digests of what was read go into the memo.
Result<bool> sameContent(OpenPair& pair, const QString& path1, const QString& path2, qint64 size,
                         ComparisonMemo& memo) {
    const ComparisonMemo::Known* known1 = memo.find(path1, pair.info1);
    const ComparisonMemo::Known* known2 = memo.find(path2, pair.info2);
    // Digests are taken at the stepped boundaries; without digests large pieces
    // from the start spare system calls.
    const bool stepped = memo.digesting();
    // A file whose every piece has a digest already need not be hashed again.
    const size_t pieces = pieceCount(size, stepped);
    const auto complete = [&](const ComparisonMemo::Known* k) {
        return k && k->prefix.size() == pieces;
    };
    HashedReader r1(*pair.file1, size, stepped, memo.buffer(0), stepped && !complete(known1));
    HashedReader r2(*pair.file2, size, stepped, memo.buffer(1), stepped && !complete(known2));
    bool intact1 = true, intact2 = true;  // false once a file proved to have changed
    bool same = true;
    for (size_t k = 0; same && r1.consumed() < size; ++k) {
        const qint64 want = std::min(pieceLength(k, stepped), size - r1.consumed());
        if (k >= memo.usefulPieces(size)) {
            r1.stopHashing();
            r2.stopHashing();
        }
        // Read the file whose digest here is unknown first: when the other's is
        // known and differs, the known file need not be read at all.
        const bool secondFirst =
            known1 && known1->prefix.size() > k && !(known2 && known2->prefix.size() > k);
        HashedReader& a = secondFirst ? r2 : r1;
        HashedReader& b = secondFirst ? r1 : r2;
        const ComparisonMemo::Known* knownB = secondFirst ? known1 : known2;
        bool& intactA = secondFirst ? intact2 : intact1;
        bool& intactB = secondFirst ? intact1 : intact2;

        Result<qint64> gotA = a.next();
        if (!gotA) return gotA.failure();
        if (gotA.value() != want) {
            intactA = false;
            same = false;
            break;
        }
        if (a.hashing() && knownDiffers(knownB, k, a.lastDigest())) {
            same = false;
            break;
        }
        Result<qint64> gotB = b.next();
        if (!gotB) return gotB.failure();
        if (gotB.value() != want) {
            intactB = false;
            same = false;
            break;
        }
        same = std::memcmp(a.data(), b.data(), size_t(want)) == 0;
        if (!same && stepped) memo.differedAt(size, k);
    }
    if (same) {
        // Identical only when neither file holds more than the recorded size.
        Result<bool> end1 = r1.atEnd();
        if (!end1) return end1.failure();
        Result<bool> end2 = r2.atEnd();
        if (!end2) return end2.failure();
        intact1 = end1.value();
        intact2 = end2.value();
        same = intact1 && intact2;
    }
    if (intact1) memo.record(path1, pair.info1, r1.prefixDigests());
    if (intact2) memo.record(path2, pair.info2, r2.prefixDigests());
    return same;
}

// Both files are still exactly as they were compared.
bool unchangedSince(const QString& path1, const QString& path2, const OpenPair& pair,
                    FileSystem& fs) {
    Result<FileInfo> now2 = fs.info(path2);
    if (!now2 || !sameState(now2.value(), pair.info2)) return false;
    Result<FileInfo> now1 = fs.info(path1);
    return now1 && sameState(now1.value(), pair.info1);
}

}  // namespace

Status FilComp(QString& File1, QString& Item1, QString& File2, QString& Item2, qint64 Size2,
               const DedupOptions& options, qint32& DupCount, FileSystem& fs,
               ComparisonMemo* memo) {
    ComparisonMemo local;
    ComparisonMemo& known = memo ? *memo : local;
    const QString path1 = File1 + Item1;
    const QString path2 = File2 + Item2;
    if (known.provesDifferent(path1, path2, Size2)) return {};

    auto opened = openPair(path1, path2, Size2, fs);
    if (!opened) return opened.failure();
    if (!opened.value()) return {};
    OpenPair& pair = *opened.value();

    Result<bool> same = sameContent(pair, path1, path2, Size2, known);
    if (!same) return same.failure();
    if (!same.value()) return {};

    // Another program may have changed either file since it was read.
    if (!unchangedSince(path1, path2, pair, fs)) return {};
    pair.file1.reset();
    pair.file2.reset();

    Status removed;
    if (options.chkDelete == 1) {
        const Result<QString> into = destinationPrefix(options.deleteFolder);
        removed = into ? fs.rename(path2, into.value() + Item2) : Status(into.failure());
    } else {
        removed = fs.remove(path2);
    }
    if (!removed) return removed;
    known.forget(path2);
    ++DupCount;
    File2.clear();
    Item2.clear();
    return {};
}

}  // namespace quillo
