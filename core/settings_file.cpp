#include "settings_file.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "ascii.h"
#include "system_files.h"

namespace {

const char* const kSettingsFileName = "input.dat";

// The new content is written and forced to disk in a file of its own first,
// then moved over input.dat, so that a failed save or a power cut never leaves
// input.dat half written. The file is always one the save has just created:
// whatever already sits under a name (a leftover of a crash, a link someone
// planted) is left alone, and the next name is tried. A create refused with
// nothing under the name (no right to create files here, a read-only disk,
// ransomware protection) would be refused under every name, each refusal
// perhaps a warning to the user: the save gives up at once. A file the save
// made and could not use is removed before it moves on or gives up, so that
// failed saves never use up the names.
constexpr int kTemporaryNameCount = 10;

// input.dat.tmp, then input.dat.1.tmp to input.dat.9.tmp.
std::string temporaryFileName(int attempt) {
    return attempt == 0 ? "input.dat.tmp" : "input.dat." + std::to_string(attempt) + ".tmp";
}

// Creates the first free temporary name; nullptr when none can be created.
std::FILE* createTemporaryFile(std::string& name) {
    for (int attempt = 0; attempt < kTemporaryNameCount; ++attempt) {
        name = temporaryFileName(attempt);
        if (std::FILE* file = createNewForWriting(name.c_str())) {
            return file;
        }
        if (nameIsFree(name.c_str())) {
            return nullptr;
        }
    }
    return nullptr;
}

constexpr int kFieldCount = 14;
constexpr std::uint64_t kLargestValue = 0xFFFFFFFFu;

// Ctrl-Z ends a text file's content, as Windows reads text files. Their CR LF
// needs no translation here: CR and LF are both white space, and white space is
// skipped after every separator, so reading CR LF as LF changes no result.
constexpr int kEndOfText = 0x1A;

constexpr std::size_t kReadChunkSize = 512;

// The field at a file position (0 = device, which is stored separately).
std::uint32_t& numericField(BindingSet& bindings, int position) {
    if (position == 1) {
        return bindings.axisOffset;
    }
    if (position < 2 + kSlotCount) {
        return bindings.keyCodes[static_cast<std::size_t>(position - 2)];
    }
    return bindings.joypadButtons[static_cast<std::size_t>(position - 2 - kSlotCount)];
}

// Stores the number just read; false when the device is neither 0 nor 1.
bool storeNumber(SettingsReading& reading) {
    if (reading.field != 0) {
        numericField(reading.bindings, reading.field) = static_cast<std::uint32_t>(reading.number);
        return true;
    }
    if (reading.number > 1) {
        return false;
    }
    reading.bindings.device = reading.number == 1 ? InputDevice::Joypad : InputDevice::Keyboard;
    return true;
}

void endNumber(SettingsReading& reading) {
    reading.inNumber = false;
    reading.ended = !storeNumber(reading) || ++reading.field == kFieldCount;
}

// White space before a number is skipped; a number fails without a digit (a
// sign included) and beyond 32 bits; the one character after it is the
// separator, whatever it is.
void readCharacter(SettingsReading& reading, int c) {
    if (c == kEndOfText) {
        finishReading(reading);
    } else if (reading.inNumber && isAsciiDigit(c)) {
        reading.number = reading.number * 10 + static_cast<std::uint64_t>(c - '0');
        reading.ended = reading.number > kLargestValue;
    } else if (reading.inNumber) {
        endNumber(reading);
    } else if (isAsciiDigit(c)) {
        reading.inNumber = true;
        reading.number = static_cast<std::uint64_t>(c - '0');
    } else {
        reading.ended = !isAsciiWhiteSpace(c);
    }
}

}  // namespace

bool continueReading(SettingsReading& reading, const char* bytes, std::size_t size) {
    for (std::size_t index = 0; index < size && !reading.ended; ++index) {
        readCharacter(reading, static_cast<unsigned char>(bytes[index]));
    }
    return !reading.ended;
}

void finishReading(SettingsReading& reading) {
    if (!reading.ended && reading.inNumber) {
        endNumber(reading);
    }
    reading.ended = true;
}

std::string formatSettings(const BindingSet& bindings) {
    std::string text = bindings.device == InputDevice::Joypad ? "1" : "0";
    text += ',' + std::to_string(bindings.axisOffset);
    for (const std::uint32_t code : bindings.keyCodes) {
        text += ',' + std::to_string(code);
    }
    for (const std::uint32_t mask : bindings.joypadButtons) {
        text += ',' + std::to_string(mask);
    }
    return text;
}

bool loadSettings() {
    std::FILE* file = openSharedForReading(kSettingsFileName);
    if (file == nullptr) {
        return false;
    }
    SettingsReading reading{bindingSet};
    std::array<char, kReadChunkSize> chunk{};
    std::size_t count = chunk.size();
    while (count == chunk.size() && !reading.ended) {
        count = std::fread(chunk.data(), 1, chunk.size(), file);
        continueReading(reading, chunk.data(), count);
    }
    // Half-read bindings must not be taken: they would be saved over the file.
    const bool failed = std::ferror(file) != 0;
    static_cast<void>(std::fclose(file));  // opened for reading only: nothing to lose
    if (failed) {
        return false;
    }
    finishReading(reading);
    bindingSet = reading.bindings;
    return true;
}

bool saveSettings() {
    const std::string text = formatSettings(bindingSet);
    std::string temporaryName;
    std::FILE* file = createTemporaryFile(temporaryName);
    if (file == nullptr) {
        return false;
    }
    if (std::fwrite(text.data(), 1, text.size(), file) != text.size() || !forceToDisk(file)) {
        discardNewFile(file, temporaryName.c_str());
        return false;
    }
    if (std::fclose(file) == 0 && replaceFile(temporaryName.c_str(), kSettingsFileName)) {
        return true;
    }
    static_cast<void>(std::remove(temporaryName.c_str()));  // nothing more to do if even this fails
    return false;
}
