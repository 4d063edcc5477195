#pragma once
// The system's own error numbers for the failures the commands tell apart,
// with the program's codes they must become.

#include <vector>

namespace quillo::test {

struct SystemError {
    const char* name;
    int error;
    int code;
};

std::vector<SystemError> systemErrors();
int codeOfSystemError(int error);

}  // namespace quillo::test
