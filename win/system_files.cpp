// The system's file calls for the Windows program.
#include "system_files.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace {

// Virus scanners and indexers open a file for a moment after it is written; a
// replace in that moment fails with one of these, and succeeds a little later.
bool heldForAMoment(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

constexpr int kReplaceRetries = 5;
constexpr DWORD kReplaceRetryPauseMs = 100;

// A C stream over an open handle, in binary mode; nullptr, with the handle
// closed, when the runtime cannot take it.
std::FILE* streamOf(HANDLE handle, int accessFlags, const char* mode) {
    const int descriptor = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), accessFlags | _O_BINARY);
    if (descriptor == -1) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, mode);
    if (file == nullptr) {
        _close(descriptor);  // closes the handle too
    }
    return file;
}

}  // namespace

std::FILE* openSharedForReading(const char* name) {
    // Other programs may read, write, rename or delete the file meanwhile. At
    // identification level a pipe's server cannot act with the user's rights.
    HANDLE handle = CreateFileA(
        name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    // A pipe or a device may block the read or answer anything.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return nullptr;
    }
    return streamOf(handle, _O_RDONLY, "rb");
}

std::FILE* createNewForWriting(const char* name) {
    // CREATE_NEW fails on any existing name; the flag keeps a dangling link or
    // a mount point at the name from being followed.
    HANDLE handle = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return streamOf(handle, _O_WRONLY, "wb");
}

bool forceToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
    const auto handle =
        reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));  // NOLINT(performance-no-int-to-ptr)
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
}

bool replaceFile(const char* source, const char* target) {
    // Not ReplaceFile: it refuses a missing target, and under Wine a bare
    // relative name. Write-through returns only once the move is on disk.
    for (int retry = 0;; ++retry) {
        if (MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
            return true;
        }
        if (retry == kReplaceRetries || !heldForAMoment(GetLastError())) {
            return false;
        }
        Sleep(kReplaceRetryPauseMs);
    }
}
