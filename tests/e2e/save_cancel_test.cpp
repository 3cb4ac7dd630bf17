// Leaving the program: Ok writes input.dat, everything else writes nothing, a save
// outlasts a moment's hold of input.dat by another program, and a save that cannot
// replace input.dat is reported while the window and the file stay as they were.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "driver.h"
#include "resource_ids.h"
#include "samples.h"

namespace e2e {
namespace {

const std::string kStartOnF5 = "0,0,38,40,39,37,90,88,116,16,1,2,4,8";

// Binds F5 to Start, so that leaving without Ok has something to lose.
void changeStartToF5(Program& app) {
    app.clickButton(app.control(IDC_SLOT_START));
    app.pressKey(VK_F5);
    auto labels = kKeyboardLabels;
    labels[6] = "F5";
    ASSERT_EQ(waitForText(app.control(IDC_SUMMARY), summaryText(labels)), summaryText(labels));
}

struct LeaveCase {
    const char* name;
    void (*leave)(Program& app);
};

void PrintTo(const LeaveCase& test, std::ostream* out) {
    *out << test.name;
}

class LeavingWithoutOk : public testing::TestWithParam<LeaveCase> {};

TEST_P(LeavingWithoutOk, EndsWithZeroAndWritesNothing) {
    Program app(kKeyboardFile);
    changeStartToF5(app);
    GetParam().leave(app);
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), kKeyboardFile);
    EXPECT_EQ(app.filesInWorkDir(), std::vector<std::string>{"input.dat"});
}

void leaveByCancel(Program& app) {
    app.clickButton(app.control(IDC_CANCEL));
}

void leaveByCloseBox(Program& app) {
    clickCloseBox(app.mainWindow());
}

void leaveByAltF4(Program&) {
    sendChord({VK_MENU, VK_F4});
}

INSTANTIATE_TEST_SUITE_P(Cases, LeavingWithoutOk,
                         testing::Values(LeaveCase{"Cancel", leaveByCancel},
                                         LeaveCase{"CloseBox", leaveByCloseBox},
                                         LeaveCase{"AltF4", leaveByAltF4}),
                         CaseName());

// Ok writes the fourteen values in their one canonical form, whatever form was read.
struct RewriteCase {
    const char* name;
    const char* read;
    const char* written;
};

void PrintTo(const RewriteCase& test, std::ostream* out) {
    *out << test.name;
}

class OkRewrites : public testing::TestWithParam<RewriteCase> {};

TEST_P(OkRewrites, TheFileAsFourteenCommaSeparatedValues) {
    Program app(std::string(GetParam().read));
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), GetParam().written);
    EXPECT_EQ(app.filesInWorkDir(), std::vector<std::string>{"input.dat"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OkRewrites,
    testing::Values(RewriteCase{"LineBreakAtTheEnd", "0,0,38,40,39,37,90,88,13,16,1,2,4,8\r\n",
                                "0,0,38,40,39,37,90,88,13,16,1,2,4,8"},
                    RewriteCase{"SpacesLineBreaksLeadingZerosAndAFifteenthValue",
                                "0, 0,\n038 40 39\n37,90,88,13,16,1,2,4,8,99",
                                "0,0,38,40,39,37,90,88,13,16,1,2,4,8"},
                    RewriteCase{"EmptyFile", "", "0,0,0,0,0,0,0,0,0,0,0,0,0,0"},
                    RewriteCase{"ThreeValues", "0,7,38", "0,7,38,0,0,0,0,0,0,0,0,0,0,0"},
                    RewriteCase{"DeviceTwoReadsNothing", "2,5,38,40,39,37,90,88,13,16,1,2,4,8",
                                "0,0,0,0,0,0,0,0,0,0,0,0,0,0"},
                    RewriteCase{"OddValuesKept", "0,4294967295,300,0,0,0,0,0,0,0,3,16,0,0",
                                "0,4294967295,300,0,0,0,0,0,0,0,3,16,0,0"}),
    CaseName());

// Holds input.dat open, by default denying others the right to write or delete it. A
// hold that denies deleting keeps the program from replacing the file; on Windows and
// under Wine alike, also for root.
class HeldOpen {
public:
    explicit HeldOpen(const std::string& path, DWORD sharing = FILE_SHARE_READ)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldOpen() {
        release();
    }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    bool held() const {
        return handle_ != INVALID_HANDLE_VALUE;
    }
    void release() {
        if (held()) {
            CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE handle_;
};

// Whether a file could be put in place of `path`, as a save does.
bool replaceable(const Program& app, const std::string& path) {
    const std::string scratch = app.pathInWorkDir("scratch.tmp");
    HANDLE created = CreateFileA(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(created);
    const bool replaced = MoveFileExA(scratch.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    DeleteFileA(scratch.c_str());
    return replaced;
}

// Presses Ok while input.dat cannot be replaced and checks the report; the box stays open.
MessageBoxView okFailsToSave(Program& app, const HeldOpen& hold) {
    const std::string path = app.pathInWorkDir("input.dat");
    EXPECT_TRUE(hold.held());
    HANDLE writer =
        CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE) << "input.dat must not be writable while held";
    CloseHandle(writer);
    EXPECT_FALSE(replaceable(app, path)) << "input.dat must not be replaceable while held";

    app.clickButton(app.control(IDC_OK));
    MessageBoxView box = app.waitForMessageBox();
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "Error Saving input.dat");
    EXPECT_EQ(box.icon, kIconError);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    EXPECT_TRUE(app.running());
    EXPECT_TRUE(IsWindowEnabled(app.mainWindow())) << "a box without owner leaves the window usable";
    auto labels = kKeyboardLabels;
    labels[6] = "F5";
    EXPECT_EQ(textOf(app.control(IDC_SUMMARY)), summaryText(labels));
    EXPECT_EQ(app.file(), kKeyboardFile);
    EXPECT_EQ(app.filesInWorkDir(), std::vector<std::string>{"input.dat"}) << "the temporary file is removed";
    return box;
}

// A virus scanner or an indexer glancing at the file: it shares reading and writing
// but not deleting, and lets go after a moment, well within the save's retries.
TEST(Saving, OutlastsAShortHoldOfInputDat) {
    Program app(kKeyboardFile);
    changeStartToF5(app);
    HeldOpen hold(app.pathInWorkDir("input.dat"), FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(hold.held());
    ASSERT_FALSE(replaceable(app, app.pathInWorkDir("input.dat"))) << "the hold must keep input.dat in place";
    app.clickButton(app.control(IDC_OK));
    std::this_thread::sleep_for(Millis{250});  // how long the scanner holds the file
    hold.release();
    ASSERT_TRUE(waitUntil([&] { return !app.running() || !app.dialogs().empty(); }));
    EXPECT_EQ(app.dialogs(), std::vector<HWND>{}) << "no \"Error Saving input.dat\"";
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), kStartOnF5);
    EXPECT_EQ(app.filesInWorkDir(), std::vector<std::string>{"input.dat"});
}

TEST(SavingFails, WhenInputDatCannotBeReplacedThenCancelEndsWithoutWriting) {
    Program app(kKeyboardFile);
    changeStartToF5(app);
    HeldOpen hold(app.pathInWorkDir("input.dat"));
    okFailsToSave(app, hold);
    app.clickButton(app.control(IDC_CANCEL));  // while the box is still open
    EXPECT_EQ(app.waitForExit(), 0);
    hold.release();
    EXPECT_EQ(app.file(), kKeyboardFile);
}

TEST(SavingFails, AndOkSucceedsOnceInputDatCanBeReplacedAgain) {
    Program app(kKeyboardFile);
    changeStartToF5(app);
    HeldOpen hold(app.pathInWorkDir("input.dat"));
    const MessageBoxView box = okFailsToSave(app, hold);
    app.dismiss(box);
    hold.release();
    app.clickButton(app.control(IDC_OK));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.file(), kStartOnF5);
    EXPECT_EQ(app.filesInWorkDir(), std::vector<std::string>{"input.dat"});
}

}  // namespace
}  // namespace e2e
