#pragma once
// The system's own error numbers for the failures the commands tell apart,
// with the program's codes they must become.

#include <QByteArray>
#include <QString>
#include <vector>

namespace quillo::test {

struct SystemError {
    const char* name;
    int error;
    int code;
};

std::vector<SystemError> systemErrors();
int codeOfSystemError(int error);

// What userDataFolder() must give with $XDG_DATA_HOME set to each value.
struct DataFolderCase {
    const char* tag;
    QByteArray xdgDataHome;
    QString folder;
};
std::vector<DataFolderCase> userDataFolderCases();

}  // namespace quillo::test
