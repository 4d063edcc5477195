#pragma once
// The new full path of a renamed file, and the checks that keep it where the
// user expects it.

#include <QString>

#include "core/checkvalue.h"
#include "core/result.h"

namespace quillo {

// The extension the new names end in: ".JPG" for exactly ".JPEG" when the
// conversion is on, else the extension text unchanged.
QString extensionPart(const QString& extension, CheckValue chkJpegJpg);

// folderPart + fileName, where fileName must be one name inside that folder:
// a separator, a NUL, or no name at all ("", ".", "..") is a bad file name (52).
Result<QString> newPath(const QString& folderPart, const QString& fileName);

}  // namespace quillo
