// Binding keys in keyboard mode: click a slot button, then press and release a key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver.h"
#include "resource_ids.h"
#include "samples.h"

namespace e2e {
namespace {

TEST(KeyboardCapture, StartTakesF5OnReleaseAndOkSavesItAsTheNinthValue) {
    Program app(kKeyboardFile);
    app.clickButton(app.control(IDC_SLOT_START));
    app.pressKey(VK_F5);
    auto labels = kKeyboardLabels;
    labels[6] = "F5";
    EXPECT_EQ(waitForText(app.control(IDC_SUMMARY), summaryText(labels)), summaryText(labels));
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), "0,0,38,40,39,37,90,88,116,16,1,2,4,8");
    EXPECT_EQ(app.filesInWorkDir(), std::vector<std::string>{"input.dat"}) << "no temporary file is left";
}

TEST(KeyboardCapture, KeyIsTakenOnReleaseNotOnPress) {
    Program app(kKeyboardFile);
    app.clickButton(app.control(IDC_SLOT_A));
    INPUT press{};
    press.type = INPUT_KEYBOARD;
    press.ki.wVk = 'Q';
    SendInput(1, &press, sizeof press);
    // Another key pressed and released while Q is down is the first release.
    app.pressKey('W');
    press.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &press, sizeof press);
    auto labels = kKeyboardLabels;
    labels[4] = "W";
    EXPECT_EQ(waitForText(app.control(IDC_SUMMARY), summaryText(labels)), summaryText(labels));
}

TEST(KeyboardCapture, TabEnterSpaceAndEscapeCanBeBound) {
    Program app("0,0,38,40,39,37,90,88,116,16,1,2,4,8");
    const struct {
        int slot = 0;
        WORD key = 0;
    } bindings[] = {{IDC_SLOT_UP, VK_TAB},
                    {IDC_SLOT_DOWN, VK_RETURN},
                    {IDC_SLOT_RIGHT, VK_SPACE},
                    {IDC_SLOT_LEFT, VK_ESCAPE}};
    for (const auto& binding : bindings) {
        app.clickButton(app.control(binding.slot));
        app.pressKey(binding.key);
    }
    const std::string expected = summaryText({"Tab", "Enter", "Space", "Escape", "Z", "X", "F5", "Shift"});
    EXPECT_EQ(waitForText(app.control(IDC_SUMMARY), expected), expected);
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), "0,0,9,13,32,27,90,88,116,16,1,2,4,8");
}

// A key that any slot holds, the armed slot's own included, is refused with a warning.
struct RefusalCase {
    const char* name = nullptr;
    int slot = 0;
    WORD key = 0;
};

void PrintTo(const RefusalCase& test, std::ostream* out) {
    *out << test.name;
}

class KeyboardRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(KeyboardRefusal, WarnsStoresNothingAndDisarms) {
    Program app(kKeyboardFile);
    HWND summary = app.control(IDC_SUMMARY);
    app.clickButton(app.control(GetParam().slot));
    app.pressKey(GetParam().key);
    const MessageBoxView box = app.waitForMessageBox();
    EXPECT_EQ(box.caption, "Key");
    EXPECT_EQ(box.text, "Key is already in use");
    EXPECT_EQ(box.icon, kIconWarning);
    EXPECT_EQ(box.owner, app.mainWindow());
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    app.dismiss(box);
    EXPECT_EQ(textOf(summary), summaryText(kKeyboardLabels));

    // Nothing is armed any more: this key goes nowhere, the next armed slot takes the next key.
    app.pressKey('Q');
    app.clickButton(app.control(IDC_SLOT_SELECT));
    app.pressKey('W');
    auto labels = kKeyboardLabels;
    labels[7] = "W";
    EXPECT_EQ(waitForText(summary, summaryText(labels)), summaryText(labels));
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), "0,0,38,40,39,37,90,88,13,87,1,2,4,8");
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyboardRefusal,
                         testing::Values(RefusalCase{"KeyOfAnotherSlot", IDC_SLOT_UP, 'X'},
                                         RefusalCase{"KeyOfTheArmedSlotItself", IDC_SLOT_START, VK_RETURN}),
                         CaseName());

// Released alone, Alt or F10 would put the window in the menu's keyboard mode, which
// swallows the next key. Neither is bound: the armed slot takes the next key, and
// Alt+F4 still closes without writing.
struct LoneMenuKeyCase {
    const char* name = nullptr;
    int slot = 0;  // A or B, which hold Z and X
    WORD menuKey = 0;
    char nextKey = 0;  // a letter that no slot holds
};

void PrintTo(const LoneMenuKeyCase& test, std::ostream* out) {
    *out << test.name;
}

class LoneMenuKey : public testing::TestWithParam<LoneMenuKeyCase> {};

TEST_P(LoneMenuKey, BindsNothingAndTheArmedSlotTakesTheNextKey) {
    const LoneMenuKeyCase& test = GetParam();
    Program app(kKeyboardFile);
    app.clickButton(app.control(test.slot));
    app.pressKey(test.menuKey);
    app.pressKey(static_cast<WORD>(test.nextKey));
    auto labels = kKeyboardLabels;
    const std::string label(1, test.nextKey);
    labels[static_cast<size_t>(test.slot - IDC_SLOT_UP)] = label.c_str();
    EXPECT_EQ(waitForText(app.control(IDC_SUMMARY), summaryText(labels)), summaryText(labels));
    sendChord({VK_MENU, VK_F4});
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), kKeyboardFile);
    EXPECT_EQ(app.filesInWorkDir(), std::vector<std::string>{"input.dat"});
}

INSTANTIATE_TEST_SUITE_P(Cases, LoneMenuKey,
                         testing::Values(LoneMenuKeyCase{"Alt", IDC_SLOT_A, VK_MENU, 'Q'},
                                         LoneMenuKeyCase{"F10", IDC_SLOT_B, VK_F10, 'W'}),
                         CaseName());

// With a key after it, Alt still reaches the system menu.
TEST(KeyboardCapture, AltSpaceStillOpensTheSystemMenu) {
    Program app(kKeyboardFile);
    bringToForeground(app.mainWindow());
    sendChord({VK_MENU, VK_SPACE});
    const auto menuShown = [&] {
        for (HWND menu = FindWindowExA(nullptr, nullptr, "#32768", nullptr); menu != nullptr;
             menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(menu, &owner);
            if (owner == app.processId() && IsWindowVisible(menu) != FALSE) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(waitUntil(menuShown)) << "no system menu";
}

// An on-screen keyboard, or any program that types with SendInput, sends a character
// as VK_PACKET, which names no key: the armed slot waits for a real one.
TEST(KeyboardCapture, ATypedCharacterIsNoKeyAndTheNextKeyIsTaken) {
    Program app(kKeyboardFile);
    app.clickButton(app.control(IDC_SLOT_A));
    app.typeCharacter(L'\u00e9');
    app.pressKey('Q');
    auto labels = kKeyboardLabels;
    labels[4] = "Q";
    EXPECT_EQ(waitForText(app.control(IDC_SUMMARY), summaryText(labels)), summaryText(labels));
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), "0,0,38,40,39,37,81,88,13,16,1,2,4,8");
}

TEST(KeyboardCapture, KeysTypedWhileTheDeviceListHasTheFocusAreNotCaptured) {
    Program app(kKeyboardFile);
    HWND summary = app.control(IDC_SUMMARY);
    HWND combo = app.control(IDC_DEVICE_COMBO);
    app.clickButton(app.control(IDC_SLOT_UP));
    click(combo);  // drops the list down
    click(combo);  // and up again; the list keeps the focus
    app.pressKey(VK_F6);
    app.clickButton(app.control(IDC_SLOT_DOWN));
    app.pressKey(VK_F7);
    auto labels = kKeyboardLabels;
    labels[1] = "F7";
    EXPECT_EQ(waitForText(summary, summaryText(labels)), summaryText(labels)) << "F6 must not reach Up";
}

TEST(KeyboardCapture, KeysWithNothingArmedChangeNothing) {
    Program app(kKeyboardFile);
    app.pressKey(VK_F6);
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), kKeyboardFile);
}

}  // namespace
}  // namespace e2e
