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

// Marks a file to be deleted when its last handle closes: through the handle,
// so exactly that file goes, whatever its name leads to by then. Should the
// system refuse, the file stays, and a later save takes another name.
void markForDeletion(HANDLE handle) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    static_cast<void>(
        SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition));
}

HANDLE handleOf(std::FILE* file) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));  // NOLINT(performance-no-int-to-ptr)
}

// Whether a file that gets no stream stays: one that existed before does; one
// just made for a save goes, as nothing else could ever use it.
enum class UnusedFile { Kept, Deleted };

// A C stream over an open handle, in binary mode; nullptr, with the handle
// closed, when the runtime cannot take it (its tables full, memory short).
std::FILE* streamOf(HANDLE handle, int accessFlags, const char* mode, UnusedFile unused) {
    const int descriptor = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), accessFlags | _O_BINARY);
    std::FILE* file = descriptor == -1 ? nullptr : _fdopen(descriptor, mode);
    if (file == nullptr) {
        if (unused == UnusedFile::Deleted) {
            markForDeletion(handle);
        }
        if (descriptor == -1) {
            CloseHandle(handle);
        } else {
            _close(descriptor);  // closes the handle too
        }
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
    return streamOf(handle, _O_RDONLY, "rb", UnusedFile::Kept);
}

std::FILE* createNewForWriting(const char* name) {
    // CREATE_NEW fails on any existing name; the flag keeps a dangling link or
    // a mount point at the name from being followed. DELETE lets a failed save
    // remove this very file through its handle.
    HANDLE handle = CreateFileA(name, GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return streamOf(handle, _O_WRONLY, "wb", UnusedFile::Deleted);
}

bool nameIsFree(const char* name) {
    // FindFirstFile reads the folder's entry: it describes a link itself, not
    // what it leads to, and finds a file whatever its state, held open or marked
    // for deletion while another program still holds it. Under Wine,
    // GetFileAttributes would find no dangling link.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(name, &found);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        return false;
    }
    return GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool forceToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
    const HANDLE handle = handleOf(file);
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
}

void discardNewFile(std::FILE* file, const char* /*name*/) {
    const HANDLE handle = handleOf(file);
    if (handle != INVALID_HANDLE_VALUE) {
        markForDeletion(handle);
    }
    static_cast<void>(std::fclose(file));  // the file goes with its last handle
}

bool replaceFile(const char* source, const char* target) {
    // Not ReplaceFile: it refuses a missing target, and under Wine a bare
    // relative name. Write-through asks that the move reach the disk before it returns.
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
