#pragma once
// What the folder chooser's drive list may offer: the platform's knowledge of
// its own volumes.

#include <QString>

namespace quillo {

// The volume that holds the system; the drive list offers it first.
QString mainVolume();

// True for a mount point that holds no user folders (the kernel's and the
// runtime's own file systems).
bool isSystemVolume(const QString& root);

}  // namespace quillo
