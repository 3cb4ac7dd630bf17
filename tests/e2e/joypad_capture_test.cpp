// Binding joystick buttons in joypad mode, through the stand-in joystick 1: the lowest
// held button is taken, and a button already in use is exchanged between pad buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver.h"
#include "resource_ids.h"
#include "samples.h"

namespace e2e {
namespace {

// One user action: arm a pad button (click), or set the joystick buttons held down.
struct Step {
    enum { kArm, kHold } kind;
    int value;  // the slot button's id, or the held-button mask
};

Step arm(int slotButton) {
    return {Step::kArm, slotButton};
}

Step hold(int mask) {
    return {Step::kHold, mask};
}

struct ExchangeCase {
    const char* name = nullptr;
    const char* buttonsInFile = nullptr;  // the last four values of input.dat
    std::vector<Step> steps;
    std::array<const char*, 4> labels;  // A, B, Start, Select afterwards
    const char* buttonsSaved = nullptr;
};

void PrintTo(const ExchangeCase& test, std::ostream* out) {
    *out << test.name;
}

class JoypadExchange : public testing::TestWithParam<ExchangeCase> {};

TEST_P(JoypadExchange, BindsTheLowestHeldButtonAndSwapsWithItsHolder) {
    const ExchangeCase& test = GetParam();
    const std::string keys = "1,0,38,40,39,37,90,88,13,16,";
    Program app(keys + test.buttonsInFile, Joystick::Attached);
    for (const Step& step : test.steps) {
        if (step.kind == Step::kArm) {
            app.clickButton(app.control(step.value));
        } else {
            app.holdButtons(step.value);
        }
    }
    const std::string expected =
        joypadSummary(test.labels[0], test.labels[1], test.labels[2], test.labels[3]);
    EXPECT_EQ(waitForText(app.control(IDC_SUMMARY), expected), expected);
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), keys + test.buttonsSaved);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JoypadExchange,
    testing::Values(ExchangeCase{"ButtonOfAnotherPadButtonIsSwapped",
                                 "1,2,4,8",
                                 {arm(IDC_SLOT_A), hold(2)},
                                 {"Button 2", "Button 1", "Button 3", "Button 4"},
                                 "2,1,4,8"},
                    // Buttons 3 and 4 together: 3 is taken, which Start already has; Start is disarmed,
                    // so the later press of button 1 binds nothing.
                    ExchangeCase{"LowestOfTwoNewButtonsWins",
                                 "1,2,4,8",
                                 {arm(IDC_SLOT_START), hold(12), hold(0), hold(1), hold(0),
                                  arm(IDC_SLOT_SELECT), hold(2)},
                                 {"Button 1", "Button 4", "Button 3", "Button 2"},
                                 "1,8,4,2"},
                    // Button 1 is held already when button 2 goes down: the held mask is 3, 1 wins.
                    ExchangeCase{"ButtonHeldBeforeCountsToo",
                                 "1,2,4,8",
                                 {hold(1), arm(IDC_SLOT_SELECT), hold(3)},
                                 {"Button 4", "Button 2", "Button 3", "Button 1"},
                                 "8,2,4,1"},
                    ExchangeCase{"UnboundValueIsHandedOver",
                                 "0,1,4,8",
                                 {arm(IDC_SLOT_A), hold(1)},
                                 {"Button 1", "Unknown Button", "Button 3", "Button 4"},
                                 "1,0,4,8"},
                    ExchangeCase{"NothingArmedNothingBound",
                                 "1,2,4,8",
                                 {hold(2), hold(0), hold(8)},
                                 {"Button 1", "Button 2", "Button 3", "Button 4"},
                                 "1,2,4,8"}),
    CaseName());

TEST(JoypadCapture, KeysAreIgnoredInJoypadModeAndLeaveTheButtonArmed) {
    Program app(kJoypadFile, Joystick::Attached);
    app.clickButton(app.control(IDC_SLOT_A));
    app.pressKey(VK_F7);
    app.holdButtons(2);
    const std::string expected = joypadSummary("Button 2", "Button 1", "Button 3", "Button 4");
    EXPECT_EQ(waitForText(app.control(IDC_SUMMARY), expected), expected);
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), "1,0,38,40,39,37,90,88,13,16,2,1,4,8");
}

TEST(JoypadCapture, ButtonsAreIgnoredInKeyboardModeAndLeaveTheSlotArmed) {
    Program app(kKeyboardFile, Joystick::Attached);
    app.clickButton(app.control(IDC_SLOT_A));
    app.holdButtons(2);
    app.pressKey(VK_F7);
    auto labels = kKeyboardLabels;
    labels[4] = "F7";
    EXPECT_EQ(waitForText(app.control(IDC_SUMMARY), summaryText(labels)), summaryText(labels));
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), "0,0,38,40,39,37,118,88,13,16,1,2,4,8");
}

TEST(JoypadCapture, ChoosingTheDeviceRedrawsTheViewAndDisarms) {
    Program app(kKeyboardFile, Joystick::Attached);
    HWND combo = app.control(IDC_DEVICE_COMBO);
    HWND summary = app.control(IDC_SUMMARY);
    app.clickButton(app.control(IDC_SLOT_A));
    app.chooseListEntry(combo, 1);
    EXPECT_EQ(textOf(summary), joypadSummary("Button 1", "Button 2", "Button 3", "Button 4"));
    EXPECT_TRUE(IsWindowEnabled(app.control(IDC_AXIS_BUTTON)));
    EXPECT_FALSE(IsWindowEnabled(app.control(IDC_SLOT_UP)));
    EXPECT_FALSE(IsWindowEnabled(app.control(IDC_SLOT_LEFT)));
    EXPECT_TRUE(IsWindowEnabled(app.control(IDC_SLOT_A)));

    // A was disarmed by the change: button 2 binds nothing; Select then takes button 1 from A.
    app.holdButtons(2);
    app.holdButtons(0);
    app.clickButton(app.control(IDC_SLOT_SELECT));
    app.holdButtons(1);
    const std::string joypad = joypadSummary("Button 4", "Button 2", "Button 3", "Button 1");
    EXPECT_EQ(waitForText(summary, joypad), joypad);

    app.chooseListEntry(combo, 0);
    EXPECT_EQ(textOf(summary), summaryText(kKeyboardLabels));
    EXPECT_FALSE(IsWindowEnabled(app.control(IDC_AXIS_BUTTON)));
    EXPECT_TRUE(IsWindowEnabled(app.control(IDC_SLOT_UP)));
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), "0,0,38,40,39,37,90,88,13,16,8,2,4,1");
}

}  // namespace
}  // namespace e2e
