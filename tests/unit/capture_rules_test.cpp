#include <gtest/gtest.h>

#include <initializer_list>

#include "capture_controller.h"
#include "test_support.h"

namespace {

using Buttons = std::array<std::uint32_t, 4>;

class Capture : public ::testing::Test {
protected:
    void SetUp() override {
        bindingSet = exampleBindings();
        selectionState = kNoSlot;
    }
    static void useJoypad() {
        setDevice(InputDevice::Joypad);
    }
};

TEST_F(Capture, NothingArmedIgnoresEveryEvent) {
    EXPECT_EQ(onKeyReleased(116), CaptureResult::Ignored);
    useJoypad();
    EXPECT_EQ(onJoypadButtonsDown(2), CaptureResult::Ignored);
    BindingSet expected = exampleBindings();
    expected.device = InputDevice::Joypad;
    EXPECT_EQ(bindingSet, expected);
}

TEST_F(Capture, FreeKeyIsStoredAndDisarms) {
    selectSlot(Slot::Start);
    EXPECT_EQ(onKeyReleased(116), CaptureResult::Assigned);
    EXPECT_EQ(bindingSet.keyCodes[6], 116u);
    EXPECT_EQ(selectionState, kNoSlot);
    EXPECT_EQ(onKeyReleased(117), CaptureResult::Ignored);
    EXPECT_EQ(bindingSet.keyCodes[6], 116u);
}

TEST_F(Capture, KeyInUseAnywhereIsRejectedAndDisarms) {
    for (const auto& [armed, key] :
         {std::pair{Slot::Up, 88}, std::pair{Slot::Start, 13}, std::pair{Slot::Select, 38}}) {
        selectSlot(armed);
        EXPECT_EQ(onKeyReleased(static_cast<std::uint16_t>(key)), CaptureResult::Rejected) << key;
        EXPECT_EQ(selectionState, kNoSlot);
        EXPECT_EQ(bindingSet, exampleBindings());
    }
}

TEST_F(Capture, ArmingAnotherSlotReplacesTheFirst) {
    selectSlot(Slot::Up);
    selectSlot(Slot::B);
    EXPECT_EQ(onKeyReleased(65), CaptureResult::Assigned);
    EXPECT_EQ(bindingSet.keyCodes[0], 38u);
    EXPECT_EQ(bindingSet.keyCodes[5], 65u);
}

TEST_F(Capture, StoredCodeBeyondSixteenBitsNeverClashes) {
    bindingSet.keyCodes[1] = 65536 + 65;  // only a file can hold this
    selectSlot(Slot::Up);
    EXPECT_EQ(onKeyReleased(65), CaptureResult::Assigned);
    EXPECT_EQ(bindingSet.keyCodes[0], 65u);
    EXPECT_EQ(bindingSet.keyCodes[1], 65601u);
}

TEST_F(Capture, WrongDeviceIgnoresAndKeepsTheSlotArmed) {
    selectSlot(Slot::A);
    EXPECT_EQ(onJoypadButtonsDown(2), CaptureResult::Ignored);
    EXPECT_EQ(selectionState, 4);
    useJoypad();
    selectSlot(Slot::A);
    EXPECT_EQ(onKeyReleased(65), CaptureResult::Ignored);
    EXPECT_EQ(selectionState, 4);
    EXPECT_EQ(bindingSet.keyCodes, exampleBindings().keyCodes);
    EXPECT_EQ(bindingSet.joypadButtons, exampleBindings().joypadButtons);
}

TEST_F(Capture, DeviceChangeDisarms) {
    selectSlot(Slot::Start);
    setDevice(InputDevice::Joypad);
    EXPECT_EQ(bindingSet.device, InputDevice::Joypad);
    EXPECT_EQ(selectionState, kNoSlot);
    selectSlot(Slot::Start);
    setDevice(InputDevice::Keyboard);
    EXPECT_EQ(selectionState, kNoSlot);
}

struct ButtonCase {
    const char* name = nullptr;
    Buttons before;
    Slot armed = Slot::Up;
    std::uint32_t heldMask = 0;
    Buttons after;
};

class ButtonCapture : public Capture, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ButtonCapture, ExchangesAndDisarms) {
    const ButtonCase& c = GetParam();
    useJoypad();
    bindingSet.joypadButtons = c.before;
    selectSlot(c.armed);
    EXPECT_EQ(onJoypadButtonsDown(c.heldMask), CaptureResult::Assigned);
    EXPECT_EQ(bindingSet.joypadButtons, c.after);
    EXPECT_EQ(selectionState, kNoSlot);
    EXPECT_EQ(bindingSet.keyCodes, exampleBindings().keyCodes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonCapture,
    ::testing::Values(ButtonCase{"SwapWithHolder", {1, 2, 4, 8}, Slot::A, 2, {2, 1, 4, 8}},
                      ButtonCase{"LowerOfTwoHeldWins", {1, 2, 4, 8}, Slot::Start, 12, {1, 2, 4, 8}},
                      ButtonCase{"HeldButtonOneWins", {1, 2, 4, 8}, Slot::Select, 3, {8, 2, 4, 1}},
                      ButtonCase{"OwnButtonAgain", {1, 2, 4, 8}, Slot::B, 2, {1, 2, 4, 8}},
                      ButtonCase{"ZeroTakenInExchange", {0, 1, 4, 8}, Slot::A, 1, {1, 0, 4, 8}},
                      ButtonCase{"UnheldButtonIsSimplyStored", {3, 16, 0, 0}, Slot::Start, 4, {3, 16, 4, 0}},
                      ButtonCase{"FirstHolderOnlyWhenRepeated", {2, 2, 4, 8}, Slot::Select, 2, {8, 2, 4, 2}},
                      ButtonCase{"HigherBitsIgnored", {1, 2, 4, 8}, Slot::A, 0xFFFFFFF8u, {8, 2, 4, 1}}),
    [](const ::testing::TestParamInfo<ButtonCase>& testCase) { return std::string(testCase.param.name); });

TEST_F(Capture, NoneOfTheFourButtonsKeepsTheSlotArmed) {
    useJoypad();
    selectSlot(Slot::Start);
    for (const std::uint32_t mask : {0u, 16u, 0xFFFFFFF0u}) {
        EXPECT_EQ(onJoypadButtonsDown(mask), CaptureResult::Ignored);
        EXPECT_EQ(selectionState, 6);
    }
    EXPECT_EQ(bindingSet.joypadButtons, exampleBindings().joypadButtons);
}

// 229: an input method took the key; 231: a character typed by an on-screen
// keyboard or another program.
TEST_F(Capture, CodesThatNameNoKeyKeepTheSlotArmed) {
    selectSlot(Slot::A);
    for (const std::uint16_t code : std::initializer_list<std::uint16_t>{229, 231}) {
        EXPECT_EQ(onKeyReleased(code), CaptureResult::Ignored) << code;
        EXPECT_EQ(selectionState, 4);
    }
    EXPECT_EQ(bindingSet, exampleBindings());
    EXPECT_EQ(onKeyReleased(81), CaptureResult::Assigned);
    EXPECT_EQ(bindingSet.keyCodes[4], 81u);
}

TEST_F(Capture, ArmedDirectionInJoypadModeIsIgnored) {
    useJoypad();
    for (int slot = 0; slot < kFirstButtonSlot; ++slot) {
        selectSlot(static_cast<Slot>(slot));
        EXPECT_EQ(onJoypadButtonsDown(1), CaptureResult::Ignored);
        EXPECT_EQ(selectionState, slot);
    }
    BindingSet expected = exampleBindings();
    expected.device = InputDevice::Joypad;
    EXPECT_EQ(bindingSet, expected);
}

TEST_F(Capture, AxisOffsetIsStoredAndLeavesTheSelection) {
    selectSlot(Slot::B);
    setAxisOffset(4294967295u);
    EXPECT_EQ(bindingSet.axisOffset, 4294967295u);
    EXPECT_EQ(selectionState, 5);
}

}  // namespace
