// Another process taking the lock of a file as the program's record files and
// locks do on Windows: one exclusive byte far past the end, by LockFileEx.
//   lockholder try PATH    exit 0 when the lock could be taken now, 1 when not
//   lockholder hold PATH   takes it (waiting), prints "held", keeps it until
//                          its input ends
// Written against Win32 alone, not the program's own code, so that the tests
// see the lock as any other program would.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const bool hold = ::lstrcmpW(argv[1], L"hold") == 0;
    const HANDLE file =
        ::CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    OVERLAPPED at{};
    at.OffsetHigh = DWORD(1) << 30;  // byte 2^62
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (hold ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (!::LockFileEx(file, flags, 0, 1, 0, &at)) return 1;
    if (!hold) return 0;
    std::puts("held");
    std::fflush(stdout);
    char buffer[256];
    DWORD got = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr) &&
           got > 0) {
    }
    return 0;
}
