#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <map>
#include <string>

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

// What may sit beside input.dat before a save.
void plantNothing() {}
void plantHardLink() {
    std::filesystem::create_hard_link("other.dat", "input.dat.tmp");
}
void plantFolder() {
    std::filesystem::create_directory("input.dat.tmp");
}
void plantFoldersAtAllButTheLastName() {
    for (std::size_t index = 0; index + 1 < kTemporaryNames.size(); ++index) {
        std::filesystem::create_directory(kTemporaryNames[index]);
    }
}
#ifndef _WIN32
void plantSymbolicLink() {
    std::filesystem::create_symlink("other.dat", "input.dat.tmp");
}
void plantDanglingSymbolicLink() {
    std::filesystem::create_symlink("nowhere.dat", "input.dat.tmp");
}
void makeInputDatASymbolicLink() {
    std::filesystem::remove("input.dat");
    std::filesystem::create_symlink("other.dat", "input.dat");
}
#endif

// Whatever sits beside input.dat before a save, under its temporary names or as
// input.dat itself, is never written into, moved or deleted: the save creates a
// new file of its own, which then replaces input.dat, and nothing else changes.
TEST(Saving, LeavesEverythingBesideInputDatAsItWas) {
    struct Case {
        const char* planted = nullptr;
        void (*plant)() = nullptr;
    };
    const Case cases[] = {
        {"nothing", plantNothing},
        {"a stale file", plantStaleTemporaryFile},
        {"a hard link to another file", plantHardLink},
        {"a folder", plantFolder},
        {"folders at all temporary names but the last", plantFoldersAtAllButTheLastName},
#ifndef _WIN32
        {"a symbolic link to another file", plantSymbolicLink},
        {"a dangling symbolic link", plantDanglingSymbolicLink},
        {"input.dat as a symbolic link to another file", makeInputDatASymbolicLink},
#endif
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.planted);
        ScopedWorkingDirectory directory;
        writeFile("input.dat", "1,2,3");
        writeFile("other.dat", "other bytes");
        test.plant();
        auto expected = directoryContents(directory.path());
        expected["input.dat"] = std::string("file ") + kExampleFile;
        bindingSet = exampleBindings();
        EXPECT_TRUE(saveSettings());
        EXPECT_EQ(directoryContents(directory.path()), expected);
    }
}

#ifdef _WIN32
// A leftover that a failed save marked for deletion while a virus scanner still holds
// it: the name stays taken until the scanner lets go, and on Windows even looking it
// up is refused. The save takes the next name.
TEST(Saving, SkipsALeftoverMarkedForDeletionThatIsStillHeld) {
    ScopedWorkingDirectory directory;
    writeFile("input.dat", "1,2,3");
    HANDLE held = CreateFileA("input.dat.tmp", GENERIC_WRITE | DELETE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    FILE_DISPOSITION_INFO disposition{TRUE};
    const bool marked =
        SetFileInformationByHandle(held, FileDispositionInfo, &disposition, sizeof disposition) != 0;
    bindingSet = exampleBindings();
    const bool saved = marked && saveSettings();
    CloseHandle(held);
    EXPECT_TRUE(marked);
    EXPECT_TRUE(saved);
    const std::map<std::string, std::string> onlyTheNewFile = {
        {"input.dat", std::string("file ") + kExampleFile}};
    EXPECT_EQ(directoryContents(directory.path()), onlyTheNewFile);
}
#endif

TEST(Saving, LeavesNoTemporaryFileBehind) {
    ScopedWorkingDirectory directory;
    bindingSet = exampleBindings();
    ASSERT_TRUE(saveSettings());
    EXPECT_EQ(directoryEntries(directory.path()), std::vector<std::string>{"input.dat"});
}

}  // namespace
