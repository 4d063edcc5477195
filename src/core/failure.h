#pragma once
// Failure codes: the classic BASIC runtime numbers the user sees in questions.

#include "core/result.h"

namespace quillo {

namespace code {
constexpr int BadFileName = 52;
constexpr int FileNotFound = 53;
constexpr int DeviceIo = 57;
constexpr int FileExists = 58;
constexpr int DiskFull = 61;
constexpr int PermissionDenied = 70;
constexpr int RenameAcrossDrives = 74;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
}  // namespace code

// The Japanese description of a code.
QString describeFailure(int code);

// A failure with its code's description.
Failure makeFailure(int code);

// The failure of a refused open or read: worded as one to read, not to write.
Failure readFailureOfCode(int code);

// The Yes/No question after an operation on the file at path failed; it
// names the file the failure concerns where that is another (the journal),
// and for a name that is taken, the file that holds it (blocker) when known.
QString failureQuestion(const Failure& failure, const QString& path,
                        const QString& blocker = {});

}  // namespace quillo
