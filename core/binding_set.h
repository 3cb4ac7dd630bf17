#pragma once

#include <array>
#include <cstdint>

// The eight pad inputs; the index orders arrays, the file, control ids and the summary.
enum class Slot : std::int32_t { Up = 0, Down = 1, Right = 2, Left = 3, A = 4, B = 5, Start = 6, Select = 7 };

constexpr int kSlotCount = 8;
constexpr int kFirstButtonSlot = 4;  // A; slots below it are the directions
constexpr int kButtonSlotCount = 4;

enum class InputDevice : std::uint8_t { Keyboard = 0, Joypad = 1 };

struct BindingSet {
    InputDevice device = InputDevice::Keyboard;
    std::uint32_t axisOffset = 0;
    std::array<std::uint32_t, kSlotCount> keyCodes{};             // Windows virtual-key codes, by slot
    std::array<std::uint32_t, kButtonSlotCount> joypadButtons{};  // one-bit masks, by slot - 4
};

// The slot armed for capture (0 to 7), or kNoSlot.
using SelectionState = std::int32_t;
constexpr SelectionState kNoSlot = 10;

// The one binding set and selection of the process.
extern BindingSet bindingSet;
extern SelectionState selectionState;
