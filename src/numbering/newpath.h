#pragma once
// The new full path of a renamed file, and the checks that keep it where the
// user expects it.

#include <QString>

#include "platform/result.h"

namespace quillo {

// The extension the new names end in: ".JPG" for exactly ".JPEG" when the
// conversion is on, else the extension text unchanged.
QString extensionPart(const QString& extension, int chkJpegJpg);

// The folder text renamed files are moved into (the setting with its
// separator). A setting that is empty or relative would send files to the
// root or to wherever the program was started: path not found (76).
Result<QString> movePrefix(const QString& moveFolder);

// folderPart + fileName, where fileName must be one name inside that folder:
// a separator, a NUL, or no name at all ("", ".", "..") is a bad file name (52).
Result<QString> newPath(const QString& folderPart, const QString& fileName);

}  // namespace quillo
