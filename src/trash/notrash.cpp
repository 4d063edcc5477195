// The trash of a system without the desktop trash this module knows: every
// drive has none, so that a duplicate is never deleted silently: the user
// is asked, as on a Linux drive without a trash. Chosen by CMake.
#include "core/failure.h"
#include "trash/trashcan.h"

namespace quillo {

TrashCan::TrashCan(FileSystem& fs, TrashHome home) : m_fs(fs), m_home(std::move(home)) {}

TrashCan::~TrashCan() = default;

Result<TrashBin*> TrashCan::binFor(FolderHandle&) {
    return static_cast<TrashBin*>(nullptr);
}

// No bin is ever handed out, so nothing below is reached with one; a caller
// that does anyway is refused rather than obeyed.
Result<TrashSlot> TrashCan::freeSlot(TrashBin&, const QString&) {
    return makeFailure(code::PathFileAccess);
}

Status TrashCan::writeRecord(const TrashSlot&, const QString&, qint64) {
    return makeFailure(code::PathFileAccess);
}

Status TrashCan::moveIn(FolderHandle&, const QString&, const TrashSlot&) {
    return makeFailure(code::PathFileAccess);
}

Status TrashCan::release(const TrashSlot&) {
    return makeFailure(code::PathFileAccess);
}

// A journal written here has no trashed file; one from elsewhere names a
// trash this system cannot take back from.
Status TrashCan::takeBack(const QString&, const FileInfo&, FolderHandle&, const QString&,
                          const QString&) {
    return makeFailure(code::PathNotFound);
}

void TrashCan::forgetRecord(const QString&, const QString&) {}

}  // namespace quillo
