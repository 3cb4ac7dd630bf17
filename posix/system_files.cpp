// The system's file calls for the native builds.
#include "system_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The folder that holds `path`, where its name is recorded.
std::string directoryOf(const char* path) {
    const char* lastSlash = std::strrchr(path, '/');
    if (lastSlash == nullptr) {
        return ".";
    }
    if (lastSlash == path) {
        return "/";
    }
    return std::string(path, lastSlash);
}

// A C stream over an open descriptor; nullptr, with the descriptor closed,
// when the library cannot take it.
std::FILE* streamOf(int descriptor, const char* mode) {
    std::FILE* file = fdopen(descriptor, mode);
    if (file == nullptr) {
        static_cast<void>(close(descriptor));
    }
    return file;
}

}  // namespace

std::FILE* openSharedForReading(const char* name) {
    // POSIX has no share modes: an open file never locks others out. Without
    // O_NONBLOCK, opening a FIFO would wait for a writer forever.
    const int descriptor = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor == -1) {
        return nullptr;
    }
    struct stat status = {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        static_cast<void>(close(descriptor));
        return nullptr;
    }
    return streamOf(descriptor, "rb");
}

std::FILE* createNewForWriting(const char* name) {
    // O_EXCL fails on any existing name, and with O_NOFOLLOW a link there is
    // never followed, dangling or not.
    const int descriptor = open(name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor == -1) {
        return nullptr;
    }
    std::FILE* file = streamOf(descriptor, "wb");
    if (file == nullptr) {
        static_cast<void>(unlink(name));
    }
    return file;
}

bool nameIsFree(const char* name) {
    // lstat describes a link itself, not what it leads to.
    struct stat status = {};
    return lstat(name, &status) != 0 && errno == ENOENT;
}

bool forceToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

void discardNewFile(std::FILE* file, const char* name) {
    static_cast<void>(std::fclose(file));
    static_cast<void>(unlink(name));
}

bool replaceFile(const char* source, const char* target) {
    if (std::rename(source, target) != 0) {
        return false;
    }
    // The new name is in place and the old file is gone, so the replacement
    // has happened whatever follows; syncing the folder only makes the new
    // name survive a crash, and its failure does not undo the save.
    const int directory = open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        static_cast<void>(fsync(directory));
        static_cast<void>(close(directory));
    }
    return true;
}
