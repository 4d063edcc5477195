#include "faultyfilesystem.h"

namespace quillo::test {

namespace {
class CountingInput final : public InputFile {
  public:
    CountingInput(std::unique_ptr<InputFile> inner, std::atomic<qint64>* total, int failCode)
        : m_inner(std::move(inner)), m_total(total), m_failCode(failCode) {}
    Result<FileInfo> info() override { return m_inner->info(); }
    Result<qint64> read(char* buffer, qint64 max) override {
        if (m_failCode) return readFailureOfCode(m_failCode);
        Result<qint64> r = m_inner->read(buffer, max);
        if (r) *m_total += r.value();
        return r;
    }
    Status seek(qint64 offset) override { return m_inner->seek(offset); }
    void expect(ReadAhead how) override { m_inner->expect(how); }

  private:
    std::unique_ptr<InputFile> m_inner;
    std::atomic<qint64>* m_total;
    int m_failCode;
};

// Entries of a held folder, failing and hooked like the same paths of the
// file system itself.
class FaultyFolder final : public FolderHandle {
  public:
    FaultyFolder(FaultyFileSystem& fs, std::unique_ptr<FolderHandle> inner, const QString& folder)
        : m_fs(fs), m_inner(std::move(inner)), m_prefix(folderPrefix(folder)) {}
    FolderHandle& held() override { return m_inner->held(); }
    Result<FileInfo> self() override { return m_inner->self(); }
    Result<FileInfo> info(const QString& name) override {
        if (m_fs.heldInfoByPath) return m_fs.info(m_prefix + name);
        const QString path = hook(QStringLiteral("info"), name);
        if (m_fs.failInfo.contains(path)) return makeFailure(m_fs.failInfo.value(path));
        return m_inner->info(name);
    }
    Result<std::unique_ptr<InputFile>> openRead(const QString& name) override {
        const QString path = hook(QStringLiteral("open"), name);
        if (m_fs.failOpen.contains(path)) return readFailureOfCode(m_fs.failOpen.value(path));
        return m_fs.counted(m_inner->openRead(name), path);
    }
    Status remove(const QString& name) override {
        const QString path = hook(QStringLiteral("remove"), name);
        if (m_fs.failRemove.contains(path)) return makeFailure(m_fs.failRemove.value(path));
        return m_inner->remove(name);
    }
    Status rename(const QString& name, const QString& to) override {
        const QString path = hook(QStringLiteral("rename"), name);
        if (m_fs.failRename.contains(path)) return makeFailure(m_fs.failRename.value(path));
        return m_inner->rename(name, to);
    }
    Result<std::unique_ptr<FolderHandle>> openFolder(const QString& name) override {
        // The folder above is named by its own path, as the failure maps name it.
        const QString path =
            name == u".." ? parentFolder(m_prefix) : hook(QStringLiteral("folder"), name);
        if (m_fs.failFolder.contains(path)) return makeFailure(m_fs.failFolder.value(path));
        auto held = m_inner->openFolder(name);
        if (!held) return held.failure();
        return std::unique_ptr<FolderHandle>(
            std::make_unique<FaultyFolder>(m_fs, std::move(held.value()), path));
    }
    Status makeFolder(const QString& name) override {
        const QString path = hook(QStringLiteral("mkdir"), name);
        if (m_fs.failMakeFolder.contains(path)) return makeFailure(m_fs.failMakeFolder.value(path));
        return m_inner->makeFolder(name);
    }
    Status createFile(const QString& name, const QByteArray& bytes) override {
        const QString path = hook(QStringLiteral("create"), name);
        if (m_fs.failCreate.contains(path)) return makeFailure(m_fs.failCreate.value(path));
        return m_inner->createFile(name, bytes);
    }
    Status moveInto(const QString& name, FolderHandle& to, const QString& newName) override {
        const QString path = hook(QStringLiteral("rename"), name);
        if (m_fs.failRename.contains(path)) return makeFailure(m_fs.failRename.value(path));
        return m_inner->moveInto(name, to, newName);
    }
    Result<QString> path() override { return m_inner->path(); }

  private:
    QString hook(const QString& op, const QString& name) {
        const QString path = m_prefix + name;
        m_fs.runBefore(op, path);
        return path;
    }
    FaultyFileSystem& m_fs;
    std::unique_ptr<FolderHandle> m_inner;
    QString m_prefix;
};

}  // namespace

void FaultyFileSystem::runBefore(const QString& op, const QString& path) {
    const std::lock_guard<std::recursive_mutex> one(m_beforeLock);
    if (before) before(op, path);
}

Result<std::unique_ptr<InputFile>> FaultyFileSystem::counted(
    Result<std::unique_ptr<InputFile>> opened, const QString& path) {
    if (!opened) return opened.failure();
    ++opens;
    return std::unique_ptr<InputFile>(std::make_unique<CountingInput>(
        std::move(opened.value()), &bytesRead, failRead.value(path)));
}

Result<std::unique_ptr<FolderHandle>> FaultyFileSystem::openFolder(const QString& folder) {
    runBefore(QStringLiteral("folder"), folder);
    if (failFolder.contains(folder)) return makeFailure(failFolder.value(folder));
    auto held = real.openFolder(folder);
    if (!held) return held.failure();
    return std::unique_ptr<FolderHandle>(
        std::make_unique<FaultyFolder>(*this, std::move(held.value()), folder));
}

Result<Listing> FaultyFileSystem::list(const QString& folder) {
    runBefore(QStringLiteral("list"), folder);
    if (failList.contains(folder)) return makeFailure(failList.value(folder));
    return real.list(folder);
}

Result<FileInfo> FaultyFileSystem::info(const QString& path) {
    runBefore(QStringLiteral("info"), path);
    if (failInfo.contains(path)) return makeFailure(failInfo.value(path));
    return real.info(path);
}

Result<std::unique_ptr<InputFile>> FaultyFileSystem::openRead(const QString& path) {
    runBefore(QStringLiteral("open"), path);
    if (failOpen.contains(path)) return readFailureOfCode(failOpen.value(path));
    return counted(real.openRead(path), path);
}

Result<QString> FaultyFileSystem::canonicalFolder(const QString& folder) {
    runBefore(QStringLiteral("canonical"), folder);
    return real.canonicalFolder(folder);
}

Status FaultyFileSystem::remove(const QString& path) {
    runBefore(QStringLiteral("remove"), path);
    if (failRemove.contains(path)) return makeFailure(failRemove.value(path));
    return real.remove(path);
}

Status FaultyFileSystem::rename(const QString& from, const QString& to) {
    runBefore(QStringLiteral("rename"), from);
    if (failRename.contains(from)) return makeFailure(failRename.value(from));
    return real.rename(from, to);
}

Status FaultyFileSystem::makeFolder(const QString& path) {
    runBefore(QStringLiteral("mkdir"), path);
    if (failMakeFolder.contains(path)) return makeFailure(failMakeFolder.value(path));
    return real.makeFolder(path);
}

Result<std::unique_ptr<RecordFile>> FaultyFileSystem::createRecordFile(const QString& path) {
    runBefore(QStringLiteral("record"), path);
    if (failRecord.contains(parentFolder(path)))
        return makeFailure(failRecord.value(parentFolder(path)));
    return real.createRecordFile(path);
}

Result<std::unique_ptr<RecordFile>> FaultyFileSystem::openRecordFile(const QString& path) {
    runBefore(QStringLiteral("record"), path);
    return real.openRecordFile(path);
}

Result<std::unique_ptr<FileLock>> FaultyFileSystem::lockFile(const QString& path) {
    runBefore(QStringLiteral("lock"), path);
    return real.lockFile(path);
}

Status FaultyFileSystem::createFile(const QString& path, const QByteArray& bytes) {
    runBefore(QStringLiteral("create"), path);
    if (failCreate.contains(path)) return makeFailure(failCreate.value(path));
    return real.createFile(path, bytes);
}

}  // namespace quillo::test
