#pragma once

#include <cstdio>

// The little the settings file needs from the system beyond C stdio. One
// implementation per system: win/system_files.cpp, posix/system_files.cpp.

// Opens an existing file for reading, in binary mode, without locking other
// programs out of it; nullptr when it cannot be opened.
std::FILE* openSharedForReading(const char* name);

// Writes out the stream's buffer and asks the system to put the file's bytes
// on stable storage before returning; false if either step fails.
bool forceToDisk(std::FILE* file);

// Replaces `target` with `source` in one step, the change written through to
// disk as far as the system offers; false leaves both as they were. Where other
// programs may hold a file for a moment, it waits a little for them first.
bool replaceFile(const char* source, const char* target);
