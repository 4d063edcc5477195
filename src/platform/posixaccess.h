#pragma once
// Owner and permission bits as POSIX systems keep them: what the freedesktop
// trash checks its folders by. Only POSIX systems implement this: only their
// trash asks.

#include "core/result.h"
#include "platform/filesystem.h"

namespace quillo {

struct PosixAccess {
    uint mode = 0;   // permission bits with the set-id and sticky bits (07777)
    uint owner = 0;  // user id of the owner
};

// Of the held folder itself.
Result<PosixAccess> posixAccess(FolderHandle& folder);

// The user id the program runs as: the owner of what it creates.
uint currentUserId();

}  // namespace quillo
