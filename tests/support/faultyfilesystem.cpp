#include "faultyfilesystem.h"

namespace quillo::test {

namespace {
class CountingInput final : public InputFile {
  public:
    CountingInput(std::unique_ptr<InputFile> inner, qint64* total, int failCode)
        : m_inner(std::move(inner)), m_total(total), m_failCode(failCode) {}
    Result<FileInfo> info() override { return m_inner->info(); }
    Result<qint64> read(char* buffer, qint64 max) override {
        if (m_failCode) return readFailureOfCode(m_failCode);
        Result<qint64> r = m_inner->read(buffer, max);
        if (r) *m_total += r.value();
        return r;
    }
    Status seek(qint64 offset) override { return m_inner->seek(offset); }

  private:
    std::unique_ptr<InputFile> m_inner;
    qint64* m_total;
    int m_failCode;
};
}  // namespace

Result<Listing> FaultyFileSystem::list(const QString& folder) {
    if (before) before(QStringLiteral("list"), folder);
    if (failList.contains(folder)) return makeFailure(failList.value(folder));
    return real.list(folder);
}

Result<FileInfo> FaultyFileSystem::info(const QString& path) {
    if (before) before(QStringLiteral("info"), path);
    if (failInfo.contains(path)) return makeFailure(failInfo.value(path));
    return real.info(path);
}

Result<std::unique_ptr<InputFile>> FaultyFileSystem::openRead(const QString& path) {
    if (before) before(QStringLiteral("open"), path);
    if (failOpen.contains(path)) return readFailureOfCode(failOpen.value(path));
    auto r = real.openRead(path);
    if (!r) return r.failure();
    ++opens;
    return std::unique_ptr<InputFile>(
        std::make_unique<CountingInput>(std::move(r.value()), &bytesRead, failRead.value(path)));
}

Result<QString> FaultyFileSystem::canonicalFolder(const QString& folder) {
    if (before) before(QStringLiteral("canonical"), folder);
    return real.canonicalFolder(folder);
}

Status FaultyFileSystem::remove(const QString& path) {
    if (before) before(QStringLiteral("remove"), path);
    if (failRemove.contains(path)) return makeFailure(failRemove.value(path));
    return real.remove(path);
}

Status FaultyFileSystem::rename(const QString& from, const QString& to) {
    if (before) before(QStringLiteral("rename"), from);
    if (failRename.contains(from)) return makeFailure(failRename.value(from));
    return real.rename(from, to);
}

}  // namespace quillo::test
