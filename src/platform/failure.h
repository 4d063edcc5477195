#pragma once
// Failure codes: the classic BASIC runtime numbers the user sees in questions.

#include "platform/result.h"

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

// The code for a POSIX errno value (ENOENT maps to 53; callers that know the
// missing part is a folder use 76 instead).
int codeFromErrno(int err);
Failure failureFromErrno(int err);

// The same for a failed open or read: a refusal is worded as one to read, not to write.
Failure readFailure(int err);
Failure readFailureOfCode(int code);

// The Yes/No question after an operation on the file at path failed.
QString failureQuestion(const Failure& failure, const QString& path);

}  // namespace quillo
