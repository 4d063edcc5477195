#pragma once
// The program's failure codes for POSIX errno values.

#include "core/result.h"

namespace quillo {

// ENOENT maps to 53; callers that know the missing part is a folder use 76.
int codeFromErrno(int err);
Failure failureFromErrno(int err);

// The same for a failed open or read: a refusal is worded as one to read.
Failure readFailure(int err);

}  // namespace quillo
