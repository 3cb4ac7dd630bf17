#include <gtest/gtest.h>

#include "settings_file.h"
#include "test_support.h"

namespace {

BindingSet withFields(InputDevice device, std::uint32_t axis, const std::array<std::uint32_t, 8>& keys,
                      const std::array<std::uint32_t, 4>& buttons) {
    BindingSet bindings;
    bindings.device = device;
    bindings.axisOffset = axis;
    bindings.keyCodes = keys;
    bindings.joypadButtons = buttons;
    return bindings;
}

struct ReadCase {
    const char* name = nullptr;
    std::string text;
    BindingSet expected;
};

class Reading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(Reading, FillsFieldsUpToTheFirstFailure) {
    EXPECT_EQ(readFromText(GetParam().text), GetParam().expected);
}

const BindingSet kStart{};
const BindingSet kExample = exampleBindings();

INSTANTIATE_TEST_SUITE_P(
    Cases, Reading,
    ::testing::Values(
        ReadCase{"Empty", "", kStart}, ReadCase{"Example", kExampleFile, kExample},
        ReadCase{"TrailingLineBreak", std::string(kExampleFile) + "\r\n", kExample},
        ReadCase{"SpacesAndBreaksAfterCommas", "0, 0,\n38,\t40,\r\n39, 37, 90, 88, 13, 16, 1, 2, 4, 8",
                 kExample},
        ReadCase{"LineBreaksAsSeparators", "0\n0\n38\n40\n39\n37\n90\n88\n13\n16\n1\n2\n4\n8", kExample},
        ReadCase{"SpacesAsSeparators", "0 0 38 40 39 37 90 88 13 16 1 2 4 8", kExample},
        ReadCase{"AnyCharacterSeparates", "0;0x38|40a39.37/90-88+13=16_1~2!4?8", kExample},
        ReadCase{"LeadingZeros", "00001,007,0038", withFields(InputDevice::Joypad, 7, {38}, {})},
        ReadCase{"JoypadAndLargeValues", "1,4294967295,65536,300,0,0,0,0,0,0,3,16,0,4294967295",
                 withFields(InputDevice::Joypad, 4294967295u, {65536, 300}, {3, 16, 0, 4294967295u})},
        ReadCase{"OnlyThreeValues", "1,5,38", withFields(InputDevice::Joypad, 5, {38}, {})},
        ReadCase{"FifteenValuesStopAtFourteen", std::string(kExampleFile) + ",99,100", kExample},
        // The space is taken as the separator, so the comma stands where a digit should.
        ReadCase{"SpaceBeforeCommaEndsAtNextField", "1,5 ,38", withFields(InputDevice::Joypad, 5, {}, {})},
        ReadCase{"DeviceTwoFailsEverything", "2,5,38", kStart},
        ReadCase{"DeviceTenFailsEverything", "10,5,38", kStart},
        ReadCase{"TwoSeparatorsEndTheReading", "1,,5", withFields(InputDevice::Joypad, 0, {}, {})},
        ReadCase{"SignIsAFailure", "1,+5,38", withFields(InputDevice::Joypad, 0, {}, {})},
        ReadCase{"MinusIsAFailure", "1,5,-38", withFields(InputDevice::Joypad, 5, {}, {})},
        ReadCase{"BeyondThirtyTwoBitsIsAFailure", "0,4294967296,38", kStart},
        ReadCase{"FarBeyondThirtyTwoBitsIsAFailure", "0,1,99999999999999999999999999,5",
                 withFields(InputDevice::Keyboard, 1, {}, {})},
        ReadCase{"LeadingZerosDoNotCountAsSize", "0,000000000004294967295",
                 withFields(InputDevice::Keyboard, 4294967295u, {}, {})},
        ReadCase{"LetterEndsTheReading", "0,12,x,40", withFields(InputDevice::Keyboard, 12, {}, {})},
        // As Windows reads text files: nothing after a Ctrl-Z counts.
        ReadCase{"CtrlZEndsTheText",
                 "1,5,38,4\x1A"
                 "0,39",
                 withFields(InputDevice::Joypad, 5, {38, 4}, {})},
        ReadCase{"NulSeparates",
                 std::string("1\0"
                             "9",
                             3),
                 withFields(InputDevice::Joypad, 9, {}, {})}),
    [](const ::testing::TestParamInfo<ReadCase>& testCase) { return std::string(testCase.param.name); });

TEST(Reading, FailedFieldsKeepWhatTheyHeldBefore) {
    BindingSet before = exampleBindings();
    before.axisOffset = 77;
    BindingSet expected = before;
    expected.device = InputDevice::Joypad;
    expected.axisOffset = 5;
    expected.keyCodes[0] = 65;
    EXPECT_EQ(readFromText("1,5,65,oops,1,1,1", before), expected);
}

TEST(Loading, ReadsInputDatFromTheWorkingDirectory) {
    ScopedWorkingDirectory directory;
    writeFile("input.dat", "1,3,65,66");
    bindingSet = BindingSet{};
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(bindingSet, withFields(InputDevice::Joypad, 3, {65, 66}, {}));
}

#ifndef _WIN32
// Users may keep input.dat as a link to a shared copy.
TEST(Loading, ReadsThroughALinkNamedInputDat) {
    ScopedWorkingDirectory directory;
    writeFile("shared.dat", "1,3,65,66");
    std::filesystem::create_symlink("shared.dat", "input.dat");
    bindingSet = BindingSet{};
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(bindingSet, withFields(InputDevice::Joypad, 3, {65, 66}, {}));
}
#endif

TEST(Loading, ReadsALongFileThroughToItsValues) {
    ScopedWorkingDirectory directory;
    writeFile("input.dat", std::string(1000000, '\n') + kExampleFile);
    bindingSet = BindingSet{};
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(bindingSet, exampleBindings());
}

TEST(Loading, EmptyFileSucceedsWithStartValues) {
    ScopedWorkingDirectory directory;
    writeFile("input.dat", "");
    bindingSet = BindingSet{};
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(bindingSet, BindingSet{});
}

}  // namespace
