#pragma once
// The real file system with failures injected by path, so tests running as
// root can see what an ordinary user meets (unreadable folders, refused renames).

#include <QHash>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>

#include "core/failure.h"
#include "platform/filesystem.h"

namespace quillo::test {

class FaultyFileSystem : public FileSystem {
  public:
    FileSystem& real = systemFileSystem();
    QHash<QString, int> failList;        // folder path -> code for list()
    QHash<QString, int> failInfo;        // path -> code for info()
    QHash<QString, int> failOpen;        // path -> code for openRead()
    QHash<QString, int> failRemove;      // path -> code for remove()
    QHash<QString, int> failRename;      // from path -> code for rename()
    QHash<QString, int> failRead;        // path -> code for read() after opening
    QHash<QString, int> failFolder;      // folder path -> code for openFolder()
    QHash<QString, int> failMakeFolder;  // path -> code for makeFolder()
    QHash<QString, int> failCreate;      // path -> code for createFile()
    QHash<QString, int> failRecord;      // folder -> code for createRecordFile() in it
    // Runs before each operation with its name and path, for tests that change
    // the disk between two steps of a command ("folder" before openFolder,
    // "mkdir" before makeFolder, "create" before createFile, "record" before
    // a record file is made or opened, "lock" before lockFile). Held folders
    // call it with the full path of the entry.
    std::function<void(const QString& op, const QString& path)> before;
    // Held folders look at their entries through info() by path, for doubles
    // that redirect paths.
    bool heldInfoByPath = false;
    // Counted on whichever thread reads: long runs are read on several.
    std::atomic<int> opens{0};
    std::atomic<qint64> bytesRead{0};
    // Calls before (if set) one thread at a time.
    void runBefore(const QString& op, const QString& path);

    Result<Listing> list(const QString& folder) override;
    Result<FileInfo> info(const QString& path) override;
    Result<QString> canonicalFolder(const QString& folder) override;
    // A held folder answers with the same failures and hooks, by full path.
    Result<std::unique_ptr<FolderHandle>> openFolder(const QString& folder) override;
    Result<std::unique_ptr<InputFile>> openRead(const QString& path) override;
    Status remove(const QString& path) override;
    Status rename(const QString& from, const QString& to) override;
    std::vector<QString> volumes() override { return real.volumes(); }
    Status makeFolder(const QString& path) override;
    Status createFile(const QString& path, const QByteArray& bytes) override;
    Result<std::unique_ptr<RecordFile>> createRecordFile(const QString& path) override;
    Result<std::unique_ptr<RecordFile>> openRecordFile(const QString& path) override;
    Result<std::unique_ptr<FileLock>> lockFile(const QString& path) override;

    // An opened file, counted and failing its reads as failRead says.
    Result<std::unique_ptr<InputFile>> counted(Result<std::unique_ptr<InputFile>> opened,
                                               const QString& path);

  private:
    std::recursive_mutex m_beforeLock;
};

}  // namespace quillo::test
