#include "dedup/comparison.h"

#include <cstring>
#include <memory>

namespace quillo {

namespace {

// Only a regular file holding exactly size bytes can be a duplicate; the same
// file reached by two paths is never a duplicate of itself.
bool candidate(const FileInfo& a, const FileInfo& b, qint64 size) {
    return a.type == EntryType::File && b.type == EntryType::File && a.size == size &&
           b.size == size && !sameFile(a, b);
}

class Pair {
  public:
    Pair(FileAt first, FileAt second) : m_files{first, second} {}

    Compared failed(const Failure& failure, int k) const {
        Compared c;
        c.verdict = Compared::Verdict::Failed;
        c.failure = failure;
        c.failedPath = m_files[k].path;
        return c;
    }

    Result<FileInfo> look(int k) { return m_files[k].folder.info(m_files[k].name); }
    // Looks at both, first then second; false with the failure where one cannot be looked at.
    bool lookAtBoth(FileInfo (&seen)[2], Compared& failure) {
        for (int k = 0; k < 2; ++k) {
            const Result<FileInfo> info = look(k);
            if (!info) {
                failure = failed(info.failure(), k);
                return false;
            }
            seen[k] = info.value();
        }
        return true;
    }
    static Compared identical(const FileInfo (&state)[2]) {
        Compared c;
        c.verdict = Compared::Verdict::Identical;
        c.first = state[0];
        c.second = state[1];
        return c;
    }
    Result<std::unique_ptr<InputFile>> open(int k) {
        return m_files[k].folder.openRead(m_files[k].name);
    }

  private:
    FileAt m_files[2];
};

}  // namespace

Compared compareFiles(FileAt first, FileAt second, qint64 size, CompareBuffers& buffers) {
    Pair pair(first, second);
    Compared different;
    // Looking first keeps a special file (a pipe left where a file was) from
    // blocking the open, and spares reading files that cannot match.
    FileInfo seen[2];
    if (Compared failure; !pair.lookAtBoth(seen, failure)) return failure;
    if (!candidate(seen[0], seen[1], size)) return different;
    std::unique_ptr<InputFile> files[2];
    FileInfo opened[2];
    for (int k = 0; k < 2; ++k) {
        Result<std::unique_ptr<InputFile>> f = pair.open(k);
        if (!f) return pair.failed(f.failure(), k);
        files[k] = std::move(f.value());
    }
    // What was opened is what counts: a path may have been swapped since the look.
    for (int k = 0; k < 2; ++k) {
        const Result<FileInfo> info = files[k]->info();
        if (!info) return pair.failed(info.failure(), k);
        opened[k] = info.value();
    }
    if (!candidate(opened[0], opened[1], size)) return different;
    // Small files are read whole by their first read anyway.
    if (size > kCompareChunk / 8)
        for (auto& file : files) file->expect(ReadAhead::Whole);

    for (qint64 done = 0; done < size;) {
        const qint64 want = std::min(kCompareChunk, size - done);
        char* data[2] = {buffers.get(0, want), buffers.get(1, want)};
        for (int k = 0; k < 2; ++k) {
            const Result<qint64> got = readFully(*files[k], data[k], want);
            if (!got) return pair.failed(got.failure(), k);
            if (got.value() != want) return different;
        }
        if (std::memcmp(data[0], data[1], size_t(want)) != 0) return different;
        done += want;
    }
    // Another program may have changed either file since it was read: a file
    // that grew past the bytes compared shows here as a new size.
    for (int k : {1, 0}) {
        const Result<FileInfo> now = pair.look(k);
        if (!now || !sameState(now.value(), opened[k])) return different;
    }
    return Pair::identical(opened);
}

Compared compareRead(FileAt first, FileAt second, qint64 size, const char* firstBytes,
                     const char* secondBytes) {
    Pair pair(first, second);
    FileInfo now[2];
    if (Compared failure; !pair.lookAtBoth(now, failure)) return failure;
    if (!candidate(now[0], now[1], size) || std::memcmp(firstBytes, secondBytes, size_t(size)) != 0)
        return {};
    return Pair::identical(now);
}

}  // namespace quillo
