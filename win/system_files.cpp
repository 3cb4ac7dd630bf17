// The system's file calls for the Windows program.
#include "system_files.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>

std::FILE* openSharedForReading(const char* name) {
    // Other programs may read, write, rename or delete the file meanwhile.
    HANDLE handle = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (descriptor == -1) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, "rb");
    if (file == nullptr) {
        _close(descriptor);  // closes the handle too
    }
    return file;
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
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
