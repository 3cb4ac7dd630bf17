// Start-up: reading input.dat, the window class, the main window itself, the resources,
// and the joystick check made before the window is shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>
#include <vector>

#include "driver.h"
#include "resource_ids.h"
#include "resources.h"
#include "samples.h"

namespace e2e {
namespace {

TEST(StartUp, WithoutInputDatReportsTheReadingErrorAndEndsWithoutAWindowOrAFile) {
    Program app(std::nullopt);
    const MessageBoxView box = app.waitForMessageBox();
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "Error Reading input.dat");
    EXPECT_EQ(box.icon, kIconError);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(app.findMainWindow(false).has_value());
    app.dismiss(box);
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.filesInWorkDir(), std::vector<std::string>{});
}

TEST(StartUp, RegistersTheMainWindowClass) {
    Program app(kKeyboardFile);
    HWND main = app.mainWindow();
    EXPECT_EQ(classOf(main), "WNDQZKEYCONFIG");
    const ProbeReply registration = app.classRegistration(main);
    EXPECT_EQ(registration.classStyle, 0);
    EXPECT_EQ(registration.classExtraBytes, 0);
    EXPECT_EQ(registration.windowExtraBytes, 0);
    EXPECT_EQ(registration.background, COLOR_BTNFACE + 1);
    EXPECT_TRUE(registration.cursorIsArrow);
    EXPECT_FALSE(registration.hasMenuName);
    EXPECT_TRUE(registration.instanceIsProgram);
    EXPECT_TRUE(registration.largeIconIsApp);
    EXPECT_EQ(registration.largeIconSize, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(registration.smallIconSize, 16);
    EXPECT_TRUE(registration.smallIconMatchesApp);
}

TEST(StartUp, MainWindowHasItsTitleFramePlaceAndSize) {
    Program app(kKeyboardFile);
    HWND main = app.mainWindow();
    EXPECT_EQ(textOf(main), "Input Config");
    // WS_SYSMENU alone on an overlapped window: the platform adds the caption and clipping.
    EXPECT_EQ(styleOf(main), WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | WS_VISIBLE);
    EXPECT_EQ(exStyleOf(main), WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE);
    EXPECT_EQ(GetParent(main), nullptr);
    EXPECT_EQ(GetMenu(main), nullptr);
    RECT outer{};
    GetWindowRect(main, &outer);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 100);
    EXPECT_EQ(outer.right - outer.left, 400);
    EXPECT_EQ(outer.bottom - outer.top, 430);
}

TEST(StartUp, ExecutableCarriesTheIconGroupAndAnAsInvokerManifest) {
    const ExecutableResources resources(harnessPaths().program);
    const auto icons = resources.iconGroup(IDI_APP);
    ASSERT_TRUE(icons.has_value());
    std::vector<int> sizes;
    for (const IconImage& image : *icons) {
        EXPECT_EQ(image.width, image.height);
        EXPECT_EQ(image.bitsPerPixel, 32) << image.width << " px";
        sizes.push_back(image.width);
    }
    std::sort(sizes.rbegin(), sizes.rend());
    EXPECT_EQ(sizes, (std::vector<int>{128, 48, 32, 16}));

    const auto manifest = resources.manifest();
    ASSERT_TRUE(manifest.has_value());
    const auto has = [&](const char* text) { return manifest->find(text) != std::string::npos; };
    EXPECT_TRUE(has("level=\"asInvoker\"")) << *manifest;
    EXPECT_TRUE(has("uiAccess=\"false\"")) << *manifest;
    EXPECT_FALSE(has("Common-Controls")) << "classic controls only";
    EXPECT_FALSE(has("dpiAware")) << "no DPI awareness";
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// A winmm.dll where a game folder may hold a mod loader's: beside the program, in the
// folder it is started from. It must never be loaded; the system's is, and joystick 1
// still answers through it.
TEST(StartUp, LoadsNoDllFromItsOwnOrItsWorkingFolder) {
    Program app(kKeyboardFile, Joystick::Attached, Placement::BesidePlantedDlls);
    EXPECT_EQ(listEntries(app.control(IDC_DEVICE_COMBO)), (std::vector<std::string>{"KEYBOARD", "JOYPAD"}));
    char systemFolder[MAX_PATH];
    ASSERT_NE(GetSystemDirectoryA(systemFolder, MAX_PATH), 0U);
    const std::string systemWinmm = lowerCase(std::string(systemFolder) + "\\winmm.dll");
    const std::string workFolder = lowerCase(app.pathInWorkDir(""));
    std::vector<std::string> modules;
    for (const std::string& path : app.loadedModules()) {
        modules.push_back(lowerCase(path));
    }
    EXPECT_EQ(std::count(modules.begin(), modules.end(), systemWinmm), 1) << systemWinmm;
    std::vector<std::string> fromWorkFolder;
    std::copy_if(modules.begin(), modules.end(), std::back_inserter(fromWorkFolder),
                 [&](const std::string& path) { return path.rfind(workFolder, 0) == 0; });
    EXPECT_EQ(fromWorkFolder, std::vector<std::string>{workFolder + "inputconfig.exe"});
}

// Joypad saved, but no usable joystick: the box comes first, then keyboard mode.
struct NoJoystickCase {
    const char* name = nullptr;
    Joystick joystick = Joystick::None;
};

void PrintTo(const NoJoystickCase& test, std::ostream* out) {
    *out << test.name;
}

class JoypadSavedWithoutJoystick : public testing::TestWithParam<NoJoystickCase> {};

TEST_P(JoypadSavedWithoutJoystick, SaysSoBeforeTheWindowThenOpensInKeyboardMode) {
    Program app(kJoypadFile, GetParam().joystick);
    const MessageBoxView box = app.waitForMessageBox();
    EXPECT_EQ(box.caption, "JoyPad");
    EXPECT_EQ(box.text, "JoyPad not attached");
    EXPECT_EQ(box.icon, kIconInformation);
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    const auto hiddenMain = app.findMainWindow(false);
    ASSERT_TRUE(hiddenMain.has_value());
    EXPECT_EQ(box.owner, *hiddenMain);
    EXPECT_FALSE(IsWindowVisible(*hiddenMain)) << "the box comes before the window is shown";
    app.dismiss(box);

    HWND combo = app.control(IDC_DEVICE_COMBO);
    EXPECT_EQ(listEntries(combo), std::vector<std::string>{"KEYBOARD"});
    EXPECT_EQ(selectedIndex(combo), 0);
    EXPECT_EQ(textOf(app.control(IDC_SUMMARY)), summaryText(kKeyboardLabels));
    EXPECT_FALSE(IsWindowEnabled(app.control(IDC_AXIS_BUTTON)));
    EXPECT_TRUE(IsWindowEnabled(app.control(IDC_SLOT_UP)));
    if (GetParam().joystick != Joystick::WineOwn) {
        EXPECT_EQ(app.captureCall().calls, 0) << "no capture without a usable joystick";
    }
    EXPECT_EQ(app.file(), kJoypadFile) << "nothing is written before Ok";
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), kKeyboardFile);
}

INSTANTIATE_TEST_SUITE_P(Cases, JoypadSavedWithoutJoystick,
                         testing::Values(NoJoystickCase{"NoJoystickAtAll", Joystick::WineOwn},
                                         NoJoystickCase{"JoystickOneUnplugged", Joystick::Unplugged},
                                         NoJoystickCase{"NoJoystickDriver", Joystick::NoDriver}),
                         CaseName());

}  // namespace
}  // namespace e2e
