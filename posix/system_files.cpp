// The system's file calls for the native builds.
#include "system_files.h"

#include <fcntl.h>
#include <unistd.h>

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

}  // namespace

std::FILE* openSharedForReading(const char* name) {
    // POSIX has no share modes: an open file never locks others out.
    return std::fopen(name, "rb");
}

bool forceToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
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
