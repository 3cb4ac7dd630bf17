// The main window's controls, as created, and the two views of the device in use.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver.h"
#include "resource_ids.h"
#include "samples.h"

namespace e2e {
namespace {

struct ControlRow {
    const char* windowClass = nullptr;
    const char* text = nullptr;  // nullptr: set later from the bindings
    LONG extraStyle = 0;
    RECT rect;  // client pixels
    int id = 0;
    bool defaultGuiFont = false;  // the two frames keep the system font
};

const ControlRow kControls[] = {
    {"Button", "", BS_GROUPBOX, {12, 5, 377, 325}, IDC_STATIC, false},
    {"Static", "Input Device:", 0, {32, 35, 102, 60}, IDC_DEVICE_LABEL, true},
    {"ComboBox", "KEYBOARD", CBS_DROPDOWNLIST, {150, 31, 305, 0}, IDC_DEVICE_COMBO, true},
    {"Button", "D-Pad Axis", 0, {310, 31, 370, 51}, IDC_AXIS_BUTTON, true},
    {"Button", "UP", 0, {30, 70, 100, 95}, IDC_SLOT_UP, true},
    {"Button", "Down", 0, {30, 100, 100, 125}, IDC_SLOT_DOWN, true},
    {"Button", "Right", 0, {30, 130, 100, 155}, IDC_SLOT_RIGHT, true},
    {"Button", "Left", 0, {30, 160, 100, 185}, IDC_SLOT_LEFT, true},
    {"Button", "A", 0, {30, 190, 100, 215}, IDC_SLOT_A, true},
    {"Button", "B", 0, {30, 220, 100, 245}, IDC_SLOT_B, true},
    {"Button", "Start", 0, {30, 250, 100, 275}, IDC_SLOT_START, true},
    {"Button", "Select", 0, {30, 280, 100, 305}, IDC_SLOT_SELECT, true},
    {"Button", "Ok", 0, {200, 350, 270, 375}, IDC_OK, true},
    {"Button", "Cancel", 0, {290, 350, 360, 375}, IDC_CANCEL, true},
    {"Button", "", BS_GROUPBOX, {12, 330, 377, 390}, IDC_STATIC, false},
    {"Static", nullptr, 0, {150, 70, 360, 270}, IDC_SUMMARY, true},
};

// The window looks as on Windows only if the prefix has Wine's own fonts: the close box is
// drawn in Marlett, captions and controls in Tahoma, the dialog asks for MS Sans Serif.
// A missing face is silently replaced by another, so ask which face was really chosen.
TEST(WinePrefixFonts, FacesTheWindowsUseAreChosenNotSubstituted) {
    HDC screen = GetDC(nullptr);
    for (const char* face : {"Marlett", "Tahoma", "MS Sans Serif"}) {
        HFONT font =
            CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
        HGDIOBJ previous = SelectObject(screen, font);
        char chosen[LF_FACESIZE] = {};
        GetTextFaceA(screen, LF_FACESIZE, chosen);
        SelectObject(screen, previous);
        DeleteObject(font);
        EXPECT_STREQ(chosen, face);
    }
    ReleaseDC(nullptr, screen);
}

TEST(MainWindowLayout, ControlsAreCreatedInOrderWithTheirClassTextStylePlaceAndFont) {
    Program app(kKeyboardFile);
    const std::vector<HWND> children = childrenInOrder(app.mainWindow());
    ASSERT_EQ(children.size(), std::size(kControls));
    for (size_t i = 0; i < children.size(); ++i) {
        const ControlRow& row = kControls[i];
        HWND child = children[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + " (id " + std::to_string(row.id) + ")");
        EXPECT_STRCASEEQ(classOf(child).c_str(), row.windowClass);
        EXPECT_EQ(GetDlgCtrlID(child), row.id);
        if (row.text != nullptr) {
            EXPECT_EQ(textOf(child), row.text);
        }
        EXPECT_EQ(styleOf(child) & ~WS_DISABLED, WS_CHILD | WS_VISIBLE | row.extraStyle);
        EXPECT_EQ(exStyleOf(child), 0);
        const RECT placed = rectInParent(child);
        EXPECT_EQ(placed.left, row.rect.left);
        EXPECT_EQ(placed.top, row.rect.top);
        EXPECT_EQ(placed.right, row.rect.right);
        if (row.id != IDC_DEVICE_COMBO) {  // the closed list is one line high, whatever it was created with
            EXPECT_EQ(placed.bottom, row.rect.bottom);
        }
        EXPECT_EQ(app.usesDefaultGuiFont(child), row.defaultGuiFont);
        if (!row.defaultGuiFont) {
            EXPECT_TRUE(app.usesSystemFont(child));
        }
    }
}

// What the window shows for each combination of joystick and saved device.
struct ViewCase {
    const char* name = nullptr;
    Joystick joystick = Joystick::None;
    const std::string* file = nullptr;
    std::vector<std::string> entries;
    int selected = 0;
    bool joypadView = false;
};

void PrintTo(const ViewCase& view, std::ostream* out) {
    *out << view.name;
}

class MainWindowView : public testing::TestWithParam<ViewCase> {};

TEST_P(MainWindowView, ListSummaryAndEnabledControlsFollowTheDevice) {
    const ViewCase& view = GetParam();
    Program app(*view.file, view.joystick);
    HWND combo = app.control(IDC_DEVICE_COMBO);
    EXPECT_EQ(listEntries(combo), view.entries);
    EXPECT_EQ(selectedIndex(combo), view.selected);
    EXPECT_EQ(textOf(combo), view.entries[static_cast<size_t>(view.selected)]) << "the entry shown";
    EXPECT_EQ(textOf(app.control(IDC_SUMMARY)),
              view.joypadView ? joypadSummary("Button 1", "Button 2", "Button 3", "Button 4")
                              : summaryText(kKeyboardLabels));
    EXPECT_EQ(IsWindowEnabled(app.control(IDC_AXIS_BUTTON)) != 0, view.joypadView);
    for (int id = IDC_SLOT_UP; id <= IDC_SLOT_SELECT; ++id) {
        const bool direction = id <= IDC_SLOT_LEFT;
        EXPECT_EQ(IsWindowEnabled(app.control(id)) != 0, !(direction && view.joypadView))
            << "slot button " << id;
    }
    EXPECT_TRUE(IsWindowEnabled(app.control(IDC_OK)));
    EXPECT_TRUE(IsWindowEnabled(app.control(IDC_CANCEL)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainWindowView,
    testing::Values(
        ViewCase{"NoJoystickKeyboardSaved", Joystick::None, &kKeyboardFile, {"KEYBOARD"}, 0, false},
        ViewCase{
            "JoystickKeyboardSaved", Joystick::Attached, &kKeyboardFile, {"KEYBOARD", "JOYPAD"}, 0, false},
        ViewCase{"JoystickJoypadSaved", Joystick::Attached, &kJoypadFile, {"KEYBOARD", "JOYPAD"}, 1, true}),
    CaseName());

TEST(JoystickCapture, IsTakenForTheMainWindowWhenJoystickOneIsAttached) {
    Program app(kKeyboardFile, Joystick::Attached);
    HWND main = app.mainWindow();
    const CaptureCall capture = app.captureCall();
    EXPECT_EQ(capture.calls, 1);
    EXPECT_EQ(capture.window, main);
    EXPECT_EQ(capture.joystick, static_cast<LONG>(JOYSTICKID1));
    EXPECT_EQ(capture.period, 0);
    EXPECT_NE(capture.changed, 0);
}

}  // namespace
}  // namespace e2e
