#pragma once
// The program's failure codes for Win32 error codes and NT status values.

#include <windows.h>

#include "core/result.h"

namespace quillo {

// ERROR_FILE_NOT_FOUND maps to 53; callers that know the missing part is a
// folder use 76.
int codeFromWin32(DWORD err);
Failure failureFromWin32(DWORD err);

// The same for a failed open or read: a refusal is worded as one to read.
Failure readFailureFromWin32(DWORD err);

// The Win32 error code of an NT status (what RtlNtStatusToDosError gives).
DWORD win32FromStatus(LONG status);

}  // namespace quillo
