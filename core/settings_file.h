#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "binding_set.h"

// Reading input.dat, fed with its bytes in pieces of any size. It holds one
// number at most, so a file of any length reads in constant memory.
struct SettingsReading {
    BindingSet bindings;       // the values held before, overwritten field by field
    int field = 0;             // file position of the number being read or expected next
    std::uint64_t number = 0;  // the current number's digits so far
    bool inNumber = false;
    bool ended = false;  // at the first failure, after the last field, or at the end of the text
};

// Reads the next bytes; false once the reading has ended and wants no more.
bool continueReading(SettingsReading& reading, const char* bytes, std::size_t size);

// The file has no more bytes: a number still being read is complete.
void finishReading(SettingsReading& reading);

// The whole file content: 14 comma-separated decimals, no line terminator.
std::string formatSettings(const BindingSet& bindings);

// Reads input.dat in the working directory into bindingSet; false, with
// nothing changed, when the file cannot be opened or read.
bool loadSettings();

// Replaces input.dat with bindingSet in one step, the new bytes on disk
// before the replacement; on false input.dat is untouched.
bool saveSettings();
