#pragma once

#include <cstdio>

// The little the settings file needs from the system beyond C stdio. One
// implementation per system: win/system_files.cpp, posix/system_files.cpp.

// Opens an existing file on disk for reading, in binary mode, without locking
// other programs out of it and without waiting on anything; nullptr when it
// cannot be opened or is not a file on disk (a pipe or a device, say). A link
// is followed.
std::FILE* openSharedForReading(const char* name);

// Creates a new file for writing, in binary mode, that no other program may
// open meanwhile; nullptr when anything at all exists under the name already:
// a file, a folder or a link, dangling or not, is never followed, emptied or
// reused. A file it created but cannot hand over as a stream is removed again.
std::FILE* createNewForWriting(const char* name);

// Whether nothing at all sits under `name`, looked up without following a link:
// true only when the system answers that the name is not found. Any other
// answer, a look-up that is itself refused included, means something is there,
// such as a file, a folder or a link, dangling or not.
bool nameIsFree(const char* name);

// Closes a file that createNewForWriting made under `name` and removes it: on
// Windows through its handle, so exactly that file goes whatever the name
// leads to by now; by name elsewhere. Should even that fail, the file stays.
void discardNewFile(std::FILE* file, const char* name);

// Writes out the stream's buffer and asks the system to put the file's bytes
// on stable storage before returning; false if either step fails.
bool forceToDisk(std::FILE* file);

// Replaces `target` with `source` in one step, the change written through to
// disk as far as the system offers; false leaves both as they were. Where other
// programs may hold a file for a moment, it waits a little for them first.
bool replaceFile(const char* source, const char* target);
