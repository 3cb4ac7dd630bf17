#include "settings_file.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <string>
#include <system_error>

#include "ascii.h"

namespace {

const char* const kSettingsFileName = "input.dat";

// Written first, then moved over input.dat, so a failed save never harms it.
const char* const kTemporaryFileName = "input.dat.tmp";

constexpr int kFieldCount = 14;
constexpr std::uint64_t kLargestValue = 0xFFFFFFFFu;

// Reads one unsigned decimal, white space before it skipped. Fails without a
// digit (a sign included) and beyond 32 bits.
bool readNumber(std::istream& in, std::uint32_t& value) {
    while (isAsciiWhiteSpace(in.peek())) {
        in.get();
    }
    if (!isAsciiDigit(in.peek())) {
        return false;
    }
    std::uint64_t number = 0;
    while (isAsciiDigit(in.peek())) {
        number = number * 10 + static_cast<std::uint64_t>(in.get() - '0');
        if (number > kLargestValue) {
            return false;
        }
    }
    value = static_cast<std::uint32_t>(number);
    return true;
}

// The field at a file position (0 = device, which is read separately).
std::uint32_t& numericField(BindingSet& bindings, int position) {
    if (position == 1) {
        return bindings.axisOffset;
    }
    if (position < 2 + kSlotCount) {
        return bindings.keyCodes[static_cast<std::size_t>(position - 2)];
    }
    return bindings.joypadButtons[static_cast<std::size_t>(position - 2 - kSlotCount)];
}

}  // namespace

void readSettings(std::istream& in, BindingSet& bindings) {
    for (int position = 0; position < kFieldCount; ++position) {
        std::uint32_t value = 0;
        if (!readNumber(in, value)) {
            return;
        }
        if (position == 0) {
            if (value > 1) {
                return;
            }
            bindings.device = value == 1 ? InputDevice::Joypad : InputDevice::Keyboard;
        } else {
            numericField(bindings, position) = value;
        }
        in.get();  // the separator, whatever it is
    }
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

bool writeSettings(std::ostream& out, const BindingSet& bindings) {
    const std::string text = formatSettings(bindings);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    return out.good();
}

bool loadSettings() {
    std::ifstream file(kSettingsFileName, std::ios::binary);
    if (!file.is_open()) {
        return false;
    }
    readSettings(file, bindingSet);
    return true;
}

bool saveSettings() {
    bool written = false;
    std::ofstream file(kTemporaryFileName, std::ios::binary | std::ios::trunc);
    if (file.is_open()) {
        written = writeSettings(file, bindingSet);
        file.close();
        written = written && !file.fail();
    }
    std::error_code error;
    if (written) {
        std::filesystem::rename(kTemporaryFileName, kSettingsFileName, error);
        if (!error) {
            return true;
        }
    }
    std::filesystem::remove(kTemporaryFileName, error);
    return false;
}
