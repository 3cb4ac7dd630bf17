// Feeds arbitrary bytes to the settings reader: it must neither crash nor read
// outside its input, must read the same whether the bytes come whole or one at
// a time, and what it accepted must survive a write and a read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings_file.h"

namespace {

std::string readAndFormat(const char* bytes, std::size_t size, std::size_t pieceSize) {
    SettingsReading reading{};
    for (std::size_t offset = 0; offset < size; offset += pieceSize) {
        const std::size_t left = size - offset;
        continueReading(reading, bytes + offset, left < pieceSize ? left : pieceSize);
    }
    finishReading(reading);
    return formatSettings(reading.bindings);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const std::string text = readAndFormat(bytes, size, size + 1);
    if (readAndFormat(bytes, size, 1) != text) {
        std::abort();
    }
    if (readAndFormat(text.data(), text.size(), text.size() + 1) != text) {
        std::abort();
    }
    return 0;
}
