// The D-Pad Axis dialog: its template, how it opens, and what it stores.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver.h"
#include "resource_ids.h"
#include "resources.h"
#include "samples.h"

namespace e2e {
namespace {

const std::string kKeysAndButtons = "38,40,39,37,90,88,13,16,1,2,4,8";

std::string joypadFileWithOffset(const std::string& offset) {
    return "1," + offset + "," + kKeysAndButtons;
}

HWND openAxisDialog(Program& app) {
    app.clickButton(app.control(IDC_AXIS_BUTTON));
    return app.waitForDialog("D-Pad Axis");
}

void closeWithCloseBox(HWND dialog) {
    clickCloseBox(dialog);
    if (!waitUntil([&] { return IsWindow(dialog) == FALSE; })) {
        throw Failure("the close box did not close the dialog");
    }
}

void okAndCheckSavedOffset(Program& app, const std::string& offset) {
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), joypadFileWithOffset(offset));
}

TEST(AxisDialog, TemplateIsAClassicDialogWithItsFourItems) {
    const ExecutableResources resources(harnessPaths().program);
    const auto dialog = resources.dialog(IDD_AXIS);
    ASSERT_TRUE(dialog.has_value());
    EXPECT_FALSE(dialog->extended);
    EXPECT_EQ(dialog->style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT));
    EXPECT_EQ(dialog->exStyle, 0u);
    EXPECT_EQ((std::vector<short>{dialog->x, dialog->y, dialog->cx, dialog->cy}),
              (std::vector<short>{50, 50, 120, 85}));
    EXPECT_EQ(dialog->menu, "");
    EXPECT_EQ(dialog->windowClass, "");
    EXPECT_EQ(dialog->caption, "D-Pad Axis");
    EXPECT_EQ(dialog->pointSize, 8);
    EXPECT_EQ(dialog->fontName, "MS Sans Serif");

    const DWORD child = WS_CHILD | WS_VISIBLE;
    const struct {
        const char* windowClass = nullptr;
        const char* text = nullptr;
        std::vector<short> place;
        DWORD style = 0;
        WORD id = 0;
    } items[] = {
        {"#128", "", {5, 5, 110, 40}, child | BS_GROUPBOX, 0xFFFF},
        {"#130", "Axis Offset:", {10, 20, 50, 20}, child | SS_CENTER | WS_GROUP, 0xFFFF},
        {"#128", "", {5, 45, 110, 35}, child | BS_GROUPBOX, 0xFFFF},
        {"#128", "Ok", {75, 57, 30, 15}, child | BS_PUSHBUTTON | WS_TABSTOP, IDOK},
    };
    ASSERT_EQ(dialog->items.size(), std::size(items));
    for (size_t i = 0; i < std::size(items); ++i) {
        SCOPED_TRACE("item " + std::to_string(i + 1));
        const DialogItem& item = dialog->items[i];
        EXPECT_EQ(item.windowClass, items[i].windowClass);
        EXPECT_EQ(item.text, items[i].text);
        EXPECT_EQ(item.style, items[i].style);
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ((std::vector<short>{item.x, item.y, item.cx, item.cy}), items[i].place);
        EXPECT_EQ(item.id, items[i].id);
    }
}

TEST(AxisDialog, OpensModallyAtItsPlaceShowingTheOffsetWithTheFocusOnOk) {
    Program app(joypadFileWithOffset("123"), Joystick::Attached);
    HWND main = app.mainWindow();
    HWND dialog = openAxisDialog(app);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
    EXPECT_FALSE(IsWindowEnabled(main));

    // The client area sits (50, 50) dialog units from the main window's, 120 x 85 units big.
    const RECT expected = app.dialogUnitsToPixels(dialog, RECT{50, 50, 120, 85});
    POINT mainOrigin{0, 0};
    POINT dialogOrigin{0, 0};
    ClientToScreen(main, &mainOrigin);
    ClientToScreen(dialog, &dialogOrigin);
    RECT inner{};
    GetClientRect(dialog, &inner);
    EXPECT_EQ(dialogOrigin.x - mainOrigin.x, expected.left);
    EXPECT_EQ(dialogOrigin.y - mainOrigin.y, expected.top);
    EXPECT_EQ(inner.right, expected.right);
    EXPECT_EQ(inner.bottom, expected.bottom);

    HWND edit = GetDlgItem(dialog, IDC_AXIS_EDIT);
    ASSERT_NE(edit, nullptr);
    EXPECT_STRCASEEQ(classOf(edit).c_str(), "Edit");
    EXPECT_EQ(textOf(edit), "123");
    // As created: edit controls draw their border themselves and drop WS_BORDER afterwards.
    const auto created = app.creationOf(edit);
    ASSERT_TRUE(created.has_value());
    EXPECT_EQ(created->style, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER);
    EXPECT_EQ(created->exStyle, 0);
    const RECT placed = rectInParent(edit);
    EXPECT_EQ((std::vector<LONG>{placed.left, placed.top, placed.right, placed.bottom}),
              (std::vector<LONG>{90, 30, 150, 50}));
    EXPECT_TRUE(app.usesDefaultGuiFont(edit));
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
    EXPECT_EQ(thread.hwndFocus, GetDlgItem(dialog, IDOK));

    closeWithCloseBox(dialog);
    EXPECT_TRUE(IsWindowEnabled(main));
}

// What the user does in the field before pressing Ok or Enter, and what is stored.
struct EntryCase {
    const char* name = nullptr;
    const char* clipboard = nullptr;  // nullptr: none
    std::vector<WORD> keys;           // pressed one after the other in the cleared field
    const char* shown = nullptr;      // the field's text before Ok
    WORD confirm = 0;                 // 0: click Ok; else this key
    const char* stored = nullptr;
};

void PrintTo(const EntryCase& test, std::ostream* out) {
    *out << test.name;
}

class AxisEntry : public testing::TestWithParam<EntryCase> {};

TEST_P(AxisEntry, OkStoresTheFieldAndTheDialogShowsItWhenOpenedAgain) {
    const EntryCase& test = GetParam();
    if (test.clipboard != nullptr) {
        putTextOnClipboard(test.clipboard);
    }
    Program app(joypadFileWithOffset("123"), Joystick::Attached);
    HWND dialog = openAxisDialog(app);
    HWND edit = GetDlgItem(dialog, IDC_AXIS_EDIT);
    click(edit);
    app.pressKey(VK_HOME);
    app.pressChord({VK_SHIFT, VK_END});
    app.pressKey(VK_DELETE);
    for (const WORD key : test.keys) {
        if (key == 'V' && test.clipboard != nullptr) {
            app.pressChord({VK_CONTROL, 'V'});
        } else {
            app.pressKey(key);
        }
    }
    EXPECT_EQ(waitForText(edit, test.shown), test.shown);
    if (test.confirm == 0) {
        app.clickButton(GetDlgItem(dialog, IDOK));
    } else {
        app.pressKey(test.confirm);
    }
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));

    dialog = openAxisDialog(app);
    EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_AXIS_EDIT)), test.stored);
    closeWithCloseBox(dialog);
    okAndCheckSavedOffset(app, test.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AxisEntry,
    testing::Values(EntryCase{"EmptyFieldStoresZero", nullptr, {}, "", 0, "0"},
                    EntryCase{"TypedDigits", nullptr, {'4', '5', '6', '7'}, "4567", 0, "4567"},
                    EntryCase{"TypingTakesDigitsOnly", nullptr, {'7', 'X', VK_OEM_MINUS, '8'}, "78", 0, "78"},
                    EntryCase{"EnterConfirms", nullptr, {'5', '5'}, "55", VK_RETURN, "55"},
                    EntryCase{"PastedMinusOneIsTakenUnsigned", "-1", {'V'}, "-1", 0, "4294967295"}),
    CaseName());

TEST(AxisDialog, EscapeDoesNotCloseItAndTheCloseBoxKeepsTheOffset) {
    Program app(joypadFileWithOffset("123"), Joystick::Attached);
    HWND dialog = openAxisDialog(app);
    HWND edit = GetDlgItem(dialog, IDC_AXIS_EDIT);
    click(edit);
    app.pressKey(VK_END);
    app.pressKey('9');
    app.pressKey(VK_ESCAPE);
    app.pressKey('8');
    EXPECT_EQ(waitForText(edit, "12398"), "12398") << "the dialog must still be open after Escape";
    closeWithCloseBox(dialog);
    okAndCheckSavedOffset(app, "123");
}

TEST(AxisDialog, PadButtonArmedBeforeOpeningIsBoundByAButtonPressedWhileItIsOpen) {
    Program app(joypadFileWithOffset("0"), Joystick::Attached);
    app.clickButton(app.control(IDC_SLOT_B));
    HWND dialog = openAxisDialog(app);
    app.holdButtons(1);
    const std::string expected = joypadSummary("Button 2", "Button 1", "Button 3", "Button 4");
    EXPECT_EQ(waitForText(app.control(IDC_SUMMARY), expected), expected);
    EXPECT_TRUE(IsWindowVisible(dialog));
    closeWithCloseBox(dialog);
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), "1,0,38,40,39,37,90,88,13,16,2,1,4,8");
}

}  // namespace
}  // namespace e2e
