#pragma once
// A file written through memory, for records that must outlast a killed
// process: a store into data() is in the kernel's page cache at once, with no
// call per record. It reaches the disk on sync().

#include <QString>
#include <memory>

#include "core/result.h"

namespace quillo {

class RecordFile {
  public:
    // Unmaps and closes the file as it is, bytes past the written ones included.
    virtual ~RecordFile() = default;

    // The file's bytes from its start, capacity() of them; valid until the
    // next reserve() or close().
    virtual char* data() = 0;
    virtual qint64 capacity() const = 0;

    // At least size bytes of capacity, their disk space allocated, so that a
    // store through data() never meets a full disk (61 when it is full now).
    virtual Status reserve(qint64 size) = 0;

    // Writes what was stored so far to the disk, and the first time also the
    // file's entry in its folder. The one call that may come from another
    // thread while the owner stores and reserves.
    virtual Status sync() = 0;

    // Cuts the file to size bytes, writes it to the disk and closes it.
    virtual Status close(qint64 size) = 0;
};

// Record files are made and opened through the file system (filesystem.h).

}  // namespace quillo
