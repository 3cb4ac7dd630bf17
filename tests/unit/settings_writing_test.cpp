#include <gtest/gtest.h>

#include "settings_file.h"
#include "test_support.h"

namespace {

TEST(Formatting, ExampleBindingsGiveTheExampleLine) {
    EXPECT_EQ(formatSettings(exampleBindings()), kExampleFile);
}

TEST(Formatting, LargestValuesAndJoypad) {
    BindingSet bindings;
    bindings.device = InputDevice::Joypad;
    bindings.axisOffset = 4294967295u;
    bindings.keyCodes = {0, 1, 10, 255, 256, 65535, 65536, 4294967295u};
    bindings.joypadButtons = {3, 0, 16, 8};
    EXPECT_EQ(formatSettings(bindings), "1,4294967295,0,1,10,255,256,65535,65536,4294967295,3,0,16,8");
}

TEST(Saving, WritesExactlyTheLineWithoutTerminator) {
    ScopedWorkingDirectory directory;
    bindingSet = exampleBindings();
    ASSERT_TRUE(saveSettings());
    EXPECT_EQ(readFile("input.dat"), kExampleFile);
}

TEST(Saving, ReplacesALongerFileWhole) {
    ScopedWorkingDirectory directory;
    writeFile("input.dat", std::string(kExampleFile) + ",99,100,101\r\n");
    bindingSet = BindingSet{};
    ASSERT_TRUE(saveSettings());
    EXPECT_EQ(readFile("input.dat"), "0,0,0,0,0,0,0,0,0,0,0,0,0,0");
}

TEST(Saving, LeavesNoTemporaryFileBehind) {
    ScopedWorkingDirectory directory;
    bindingSet = exampleBindings();
    ASSERT_TRUE(saveSettings());
    EXPECT_EQ(directoryEntries(directory.path()), std::vector<std::string>{"input.dat"});
}

}  // namespace
