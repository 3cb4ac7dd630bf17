// Settings files and the summaries the tests start from.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "driver.h"

namespace e2e {

// Keyboard in use: arrows, Z, X, Enter, Shift; joystick buttons 1 to 4 on A, B, Start, Select.
inline const std::string kKeyboardFile = "0,0,38,40,39,37,90,88,13,16,1,2,4,8";
// The same bindings with the joypad in use.
inline const std::string kJoypadFile = "1,0,38,40,39,37,90,88,13,16,1,2,4,8";

inline const std::array<const char*, 8> kKeyboardLabels = {
    "Arrow Up", "Arrow Down", "Arrow Right", "Arrow Left", "Z", "X", "Enter", "Shift"};

// The joypad summary with the given labels for A, B, Start and Select.
inline std::string joypadSummary(const char* a, const char* b, const char* start, const char* select) {
    return summaryText({"D-Pad Up", "D-Pad Down", "D-Pad Right", "D-Pad Left", a, b, start, select});
}

// Names parameterised cases after their `name` field.
struct CaseName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& test) const {
        return test.param.name;
    }
};

}  // namespace e2e
