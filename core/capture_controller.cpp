#include "capture_controller.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

constexpr std::array<std::uint32_t, kButtonSlotCount> kButtonMasksInOrder{1, 2, 4, 8};

// Key codes that name no key: an input method took the key (VK_PROCESSKEY), or
// a character came typed by an on-screen keyboard or another program
// (VK_PACKET). Bound, either would leave that input of the game dead.
constexpr std::uint16_t kKeyTakenByInputMethod = 229;
constexpr std::uint16_t kTypedCharacter = 231;

std::size_t selectedIndex() {
    return static_cast<std::size_t>(selectionState);
}

}  // namespace

void selectSlot(Slot slot) {
    selectionState = static_cast<SelectionState>(slot);
}

CaptureResult onKeyReleased(std::uint16_t keyCode) {
    if (bindingSet.device == InputDevice::Joypad || selectionState == kNoSlot ||
        keyCode == kKeyTakenByInputMethod || keyCode == kTypedCharacter) {
        return CaptureResult::Ignored;
    }
    const std::uint32_t code = keyCode;
    const bool inUse =
        std::find(bindingSet.keyCodes.begin(), bindingSet.keyCodes.end(), code) != bindingSet.keyCodes.end();
    if (!inUse) {
        bindingSet.keyCodes[selectedIndex()] = code;
    }
    selectionState = kNoSlot;
    return inUse ? CaptureResult::Rejected : CaptureResult::Assigned;
}

CaptureResult onJoypadButtonsDown(std::uint32_t heldMask) {
    // Directions have no stored button in joypad mode; only A to Select can take one.
    if (bindingSet.device == InputDevice::Keyboard || selectionState < kFirstButtonSlot ||
        selectionState >= kSlotCount) {
        return CaptureResult::Ignored;
    }
    const auto picked = std::find_if(kButtonMasksInOrder.begin(), kButtonMasksInOrder.end(),
                                     [heldMask](std::uint32_t mask) { return (heldMask & mask) != 0; });
    if (picked == kButtonMasksInOrder.end()) {
        return CaptureResult::Ignored;
    }
    auto& buttons = bindingSet.joypadButtons;
    std::uint32_t& armed = buttons[selectedIndex() - kFirstButtonSlot];
    const auto holder = std::find(buttons.begin(), buttons.end(), *picked);
    if (holder != buttons.end()) {
        *holder = armed;  // the two pad buttons swap joystick buttons
    }
    armed = *picked;
    selectionState = kNoSlot;
    return CaptureResult::Assigned;
}

void setDevice(InputDevice device) {
    bindingSet.device = device;
    selectionState = kNoSlot;
}

void setAxisOffset(std::uint32_t offset) {
    bindingSet.axisOffset = offset;
}
