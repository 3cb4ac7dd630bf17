#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "names.h"
#include "test_support.h"

namespace {

TEST(KeyLabels, RangeEdgesOddLabelsAndGaps) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0, "Unknown Key"},
        {3, "Break"},
        {8, "BackSpace"},
        {13, "Enter"},
        {18, "Unknown Key"},
        {20, "Caps Lock"},
        {37, "Arrow Left"},
        {40, "Arrow Down"},
        {47, "Unknown Key"},
        {48, "0"},
        {57, "9"},
        {58, "Unknown Key"},
        {64, "Unknown Key"},
        {65, "A"},
        {90, "Z"},
        {91, "Left Win"},
        {94, "Unknown Key"},
        {95, "Sleep"},
        {96, "Numpad 0"},
        {105, "Numpad 9"},
        {106, "Numpad *"},
        {108, "Unknown Key"},
        {111, "Numpad /"},
        {112, "F1"},
        {116, "F5"},
        {123, "F12"},
        {124, "Unknown Key"},
        {144, "Num Lock"},
        {145, "Scrol Lock"},
        {159, "Unknown Key"},
        {160, "Left Shift"},
        {165, "Right Alt"},
        {166, "Unknown Key"},
        {186, "; :"},
        {192, "` ~"},
        {193, "Unknown Key"},
        {219, "[ {"},
        {220, "\\ |"},
        {221, "] }"},
        {222, "' \""},
        {223, "Unknown Key"},
        {255, "Unknown Key"},
        {65536 + 65, "Unknown Key"},
        {4294967295u, "Unknown Key"},
    };
    for (const auto& [code, label] : cases) {
        EXPECT_EQ(keyLabel(code), label) << code;
    }
}

TEST(KeyLabels, EveryCodeHasALabelAndOnlyListedOnesAreKnown) {
    int known = 0;
    for (std::uint32_t code = 0; code < 1024; ++code) {
        const std::string label = keyLabel(code);
        ASSERT_FALSE(label.empty()) << code;
        if (label != "Unknown Key") {
            ++known;
        }
    }
    EXPECT_EQ(known, 108);
}

// Every code to 255, from the runs of neighbouring codes that have labels; all
// others are unknown. Samples miss a label moved to a free neighbouring code.
TEST(KeyLabels, EveryCodeUpTo255) {
    const std::pair<std::uint32_t, std::vector<const char*>> runs[] = {
        {3, {"Break"}},
        {8, {"BackSpace", "Tab"}},
        {12, {"Clear", "Enter"}},
        {16, {"Shift", "Control"}},
        {19, {"Pause", "Caps Lock"}},
        {27, {"Escape"}},
        {32,
         {"Space", "Page Up", "Page Down", "End", "Home", "Arrow Left", "Arrow Up", "Arrow Right",
          "Arrow Down"}},
        {44, {"Print Screen", "Insert", "Delete"}},
        {48, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}},
        {65, {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
              "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"}},
        {91, {"Left Win", "Right Win", "Context Menu"}},
        {95,
         {"Sleep", "Numpad 0", "Numpad 1", "Numpad 2", "Numpad 3", "Numpad 4", "Numpad 5", "Numpad 6",
          "Numpad 7", "Numpad 8", "Numpad 9", "Numpad *", "Numpad +"}},
        {109,
         {"Numpad -", "Numpad .", "Numpad /", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10",
          "F11", "F12"}},
        {144, {"Num Lock", "Scrol Lock"}},
        {160, {"Left Shift", "Right Shift", "Left Ctrl", "Right Ctrl", "Left Alt", "Right Alt"}},
        {186, {"; :", "= +", ", <", "- _", ". >", "/ ?", "` ~"}},
        {219, {"[ {", "\\ |", "] }", "' \""}}};
    std::array<std::string, 256> expected;
    expected.fill("Unknown Key");
    for (const auto& [first, labels] : runs) {
        std::copy(labels.begin(), labels.end(), expected.begin() + first);
    }
    for (std::uint32_t code = 0; code < expected.size(); ++code) {
        EXPECT_EQ(keyLabel(code), expected[code]) << code;
    }
}

TEST(ButtonLabels, OnlyTheFourSingleBitMasksHaveNames) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {1, "Button 1"},       {2, "Button 2"},       {4, "Button 3"},        {8, "Button 4"},
        {0, "Unknown Button"}, {3, "Unknown Button"}, {16, "Unknown Button"}, {4294967295u, "Unknown Button"},
    };
    for (const auto& [mask, label] : cases) {
        EXPECT_EQ(buttonLabel(mask), label) << mask;
    }
}

TEST(Summary, KeyboardOfTheExampleFile) {
    EXPECT_EQ(keyboardSummary(exampleBindings()),
              "Up: Arrow Up\r\n\r\nDown: Arrow Down\r\n\r\nRight: Arrow Right\r\n\r\nLeft: Arrow Left\r\n\r\n"
              "A: Z\r\n\r\nB: X\r\n\r\nStart: Enter\r\n\r\nSelect: Shift\r\n\r\n");
}

TEST(Summary, JoypadOfTheExampleFile) {
    EXPECT_EQ(joypadSummary(exampleBindings()),
              "Up: D-Pad Up\r\n\r\nDown: D-Pad Down\r\n\r\nRight: D-Pad Right\r\n\r\nLeft: D-Pad Left\r\n\r\n"
              "A: Button 1\r\n\r\nB: Button 2\r\n\r\nStart: Button 3\r\n\r\nSelect: Button 4\r\n\r\n");
}

TEST(Summary, StartValuesReadAsUnknown) {
    const BindingSet start;
    EXPECT_EQ(
        keyboardSummary(start),
        "Up: Unknown Key\r\n\r\nDown: Unknown Key\r\n\r\nRight: Unknown Key\r\n\r\nLeft: Unknown Key\r\n\r\n"
        "A: Unknown Key\r\n\r\nB: Unknown Key\r\n\r\nStart: Unknown Key\r\n\r\nSelect: Unknown Key\r\n\r\n");
    EXPECT_EQ(joypadSummary(start),
              "Up: D-Pad Up\r\n\r\nDown: D-Pad Down\r\n\r\nRight: D-Pad Right\r\n\r\nLeft: D-Pad Left\r\n\r\n"
              "A: Unknown Button\r\n\r\nB: Unknown Button\r\n\r\nStart: Unknown Button\r\n\r\n"
              "Select: Unknown Button\r\n\r\n");
}

}  // namespace
