#pragma once
// What the Windows Recycle Bin needs to know from the system: who the user
// is, whether a held folder is theirs, how to make one that is theirs alone,
// and which drive a held folder lies on. Only Windows has an implementation:
// only its trash asks.

#include <QString>

#include "core/result.h"
#include "platform/filesystem.h"

namespace quillo {

// The user the program runs as, as their security identifier's text
// ("S-1-5-21-…"); empty when the system does not tell.
QString currentUserSid();

// True when the held folder's owner is the user the program runs as.
Result<bool> ownedByCurrentUser(FolderHandle& folder);

// Creates the folder name inside parent, owned by the user the program runs
// as and open to them alone, whatever parent passes on to new entries (58
// when something is there).
Status makePrivateFolder(FolderHandle& parent, const QString& name);

// Creates name in the held root of drive (a bare "C:") as the folder that
// holds every user's bin, as Windows makes it on a fixed drive's first
// removal: hidden, the system's, each user free to make their own bin in it
// and no more. 75 on a drive Windows keeps no bin on (removable, optical,
// network, memory); 58 when something is there.
Status makeRecycleFolder(FolderHandle& driveRoot, const QString& drive, const QString& name);

// The drive the held folder lies on, as a bare drive ("C:"); 75 for a
// folder of a volume without a drive letter (a share, a volume mounted in a
// folder).
Result<QString> driveOf(FolderHandle& folder);

}  // namespace quillo
