#include <gtest/gtest.h>

#include <random>

#include "settings_file.h"
#include "test_support.h"

namespace {

// Values near the interesting edges, mixed with anything at all.
// cppcheck-suppress constParameterReference ; random() advances the engine: a const one cannot be called
std::uint32_t anyValue(std::mt19937& random) {
    static const std::uint32_t kEdges[] = {0, 1, 2, 3, 4, 8, 9, 10, 255, 256, 65535, 65536, 4294967295u};
    if (random() % 2 == 0) {
        return kEdges[random() % std::size(kEdges)];
    }
    return static_cast<std::uint32_t>(random());
}

BindingSet anyBindingSet(std::mt19937& random) {
    BindingSet bindings;
    bindings.device = random() % 2 == 0 ? InputDevice::Keyboard : InputDevice::Joypad;
    bindings.axisOffset = anyValue(random);
    for (auto& code : bindings.keyCodes) {
        code = anyValue(random);
    }
    for (auto& mask : bindings.joypadButtons) {
        mask = anyValue(random);
    }
    return bindings;
}

TEST(RoundTrip, ReadingWhatWasFormattedGivesTheSameBindings) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 5000; ++round) {
        const BindingSet original = anyBindingSet(random);
        const std::string text = formatSettings(original);
        // Start from other values so that a field the reader skipped would show.
        BindingSet start = anyBindingSet(random);
        ASSERT_EQ(readFromText(text, start), original) << text;
        ASSERT_EQ(formatSettings(readFromText(text, start)), text);
    }
}

TEST(RoundTrip, SaveThenLoadThroughTheFile) {
    ScopedWorkingDirectory directory;
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        const BindingSet original = anyBindingSet(random);
        bindingSet = original;
        ASSERT_TRUE(saveSettings());
        bindingSet = anyBindingSet(random);
        ASSERT_TRUE(loadSettings());
        ASSERT_EQ(bindingSet, original);
    }
}

TEST(RoundTrip, FifteenValuesAreSavedAsFourteen) {
    ScopedWorkingDirectory directory;
    writeFile("input.dat", std::string(kExampleFile) + ",15\n");
    bindingSet = BindingSet{};
    ASSERT_TRUE(loadSettings());
    ASSERT_TRUE(saveSettings());
    EXPECT_EQ(readFile("input.dat"), kExampleFile);
}

}  // namespace
