#include "names.h"

#include <array>
#include <cstddef>

namespace {

const char* const kLineEnd = "\r\n\r\n";

// Labels of virtual-key codes 0 to 222; empty where a code has none of its own.
constexpr std::size_t kKeyLabelCount = 223;

std::array<std::string, kKeyLabelCount> makeKeyLabels() {
    std::array<std::string, kKeyLabelCount> labels{};
    const auto set = [&labels](std::uint32_t code, const char* label) { labels[code] = label; };
    set(3, "Break");
    set(8, "BackSpace");
    set(9, "Tab");
    set(12, "Clear");
    set(13, "Enter");
    set(16, "Shift");
    set(17, "Control");
    set(19, "Pause");
    set(20, "Caps Lock");
    set(27, "Escape");
    set(32, "Space");
    set(33, "Page Up");
    set(34, "Page Down");
    set(35, "End");
    set(36, "Home");
    set(37, "Arrow Left");
    set(38, "Arrow Up");
    set(39, "Arrow Right");
    set(40, "Arrow Down");
    set(44, "Print Screen");
    set(45, "Insert");
    set(46, "Delete");
    for (std::uint32_t digit = 0; digit <= 9; ++digit) {
        labels[48 + digit] = std::string(1, static_cast<char>('0' + digit));
        labels[96 + digit] = "Numpad " + std::to_string(digit);
    }
    for (std::uint32_t letter = 0; letter < 26; ++letter) {
        labels[65 + letter] = std::string(1, static_cast<char>('A' + letter));
    }
    set(91, "Left Win");
    set(92, "Right Win");
    set(93, "Context Menu");
    set(95, "Sleep");
    set(106, "Numpad *");
    set(107, "Numpad +");
    set(109, "Numpad -");
    set(110, "Numpad .");
    set(111, "Numpad /");
    for (std::uint32_t number = 1; number <= 12; ++number) {
        labels[111 + number] = "F" + std::to_string(number);
    }
    set(144, "Num Lock");
    set(145, "Scrol Lock");
    set(160, "Left Shift");
    set(161, "Right Shift");
    set(162, "Left Ctrl");
    set(163, "Right Ctrl");
    set(164, "Left Alt");
    set(165, "Right Alt");
    set(186, "; :");
    set(187, "= +");
    set(188, ", <");
    set(189, "- _");
    set(190, ". >");
    set(191, "/ ?");
    set(192, "` ~");
    set(219, "[ {");
    set(220, "\\ |");
    set(221, "] }");
    set(222, "' \"");
    return labels;
}

std::string summaryLine(Slot slot, const std::string& label) {
    return slotName(slot) + ": " + label + kLineEnd;
}

}  // namespace

std::string slotName(Slot slot) {
    static const std::array<const char*, kSlotCount> kNames{"Up", "Down", "Right", "Left",
                                                            "A",  "B",    "Start", "Select"};
    return kNames[static_cast<std::size_t>(slot)];
}

std::string keyLabel(std::uint32_t keyCode) {
    static const std::array<std::string, kKeyLabelCount> kLabels = makeKeyLabels();
    if (keyCode >= kKeyLabelCount || kLabels[keyCode].empty()) {
        return "Unknown Key";
    }
    return kLabels[keyCode];
}

std::string buttonLabel(std::uint32_t buttonMask) {
    switch (buttonMask) {
        case 1:
            return "Button 1";
        case 2:
            return "Button 2";
        case 4:
            return "Button 3";
        case 8:
            return "Button 4";
        default:
            return "Unknown Button";
    }
}

std::string keyboardSummary(const BindingSet& bindings) {
    std::string text;
    for (int index = 0; index < kSlotCount; ++index) {
        text += summaryLine(static_cast<Slot>(index),
                            keyLabel(bindings.keyCodes[static_cast<std::size_t>(index)]));
    }
    return text;
}

std::string joypadSummary(const BindingSet& bindings) {
    std::string text = std::string("Up: D-Pad Up") + kLineEnd + "Down: D-Pad Down" + kLineEnd +
                       "Right: D-Pad Right" + kLineEnd + "Left: D-Pad Left" + kLineEnd;
    for (int index = 0; index < kButtonSlotCount; ++index) {
        text += summaryLine(static_cast<Slot>(kFirstButtonSlot + index),
                            buttonLabel(bindings.joypadButtons[static_cast<std::size_t>(index)]));
    }
    return text;
}
