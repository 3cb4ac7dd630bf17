// The end-to-end driver: starts the real program in a fresh working directory under
// Wine, acts on it with real mouse and keyboard input, and reads back what a user and
// the program that reads input.dat would see. Timeouts throw e2e::Failure, which
// GoogleTest reports as a failure of the running test.
#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "channels.h"

namespace e2e {

using Millis = std::chrono::milliseconds;
inline constexpr Millis kWait{5000};

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Where the pieces are, from the command line of the test executable.
struct HarnessPaths {
    std::string program;       // the shipped InputConfig.exe
    std::string standInWinmm;  // the test-only winmm.dll
    std::string probeHook;     // the hook DLL answering questions from inside the program
};
HarnessPaths& harnessPaths();

// Set once a case's program did not start, which every later case would wait out.
bool& programDidNotStart();

// Polls until `condition` holds or `limit` has passed; returns whether it held.
bool waitUntil(const std::function<bool()>& condition, Millis limit = kWait);

// ---- reading windows of another process
std::string textOf(HWND window);
std::string classOf(HWND window);
LONG styleOf(HWND window);
LONG exStyleOf(HWND window);
RECT rectInParent(HWND child);  // in the parent's client coordinates
// Waits until the window's text equals `expected`; returns the text last seen.
std::string waitForText(HWND window, const std::string& expected, Millis limit = kWait);
std::vector<HWND> childrenInOrder(HWND parent);
std::vector<std::string> listEntries(HWND comboBox);
int selectedIndex(HWND comboBox);

// ---- real input, through SendInput
void bringToForeground(HWND window);
void clickAt(POINT screen);
void click(HWND window);  // at its centre
void clickCloseBox(HWND topLevel);
void sendChord(std::initializer_list<WORD> keys);  // held in order, released in reverse
void putTextOnClipboard(const std::string& text);

// The summary text for the labels of the eight pad inputs, in pad order.
std::string summaryText(const std::array<const char*, 8>& labels);

// How the program sees joystick 1. In the test prefix, programs named InputConfig.exe
// load the stand-in winmm.dll from the system folder; other names get Wine's own.
enum class Joystick {
    None,       // stand-in without a channel: no joystick, answered as Wine's own winmm does
    WineOwn,    // a copy under another name, with Wine's own winmm: no joystick at all
    Attached,   // stand-in: joystick 1 attached
    Unplugged,  // stand-in: a driver with devices, but joystick 1 does not answer
    NoDriver,   // stand-in: joyGetNumDevs reports 0, although joystick 1 would answer
};

// Where the program is started from; its working folder is always a fresh one.
enum class Placement {
    AsBuilt,            // where it was built, or a renamed copy for Joystick::WineOwn
    BesidePlantedDlls,  // a copy in its working folder, with a copy of the stand-in winmm.dll
};

struct CaptureCall {
    int calls = 0;
    HWND window = nullptr;
    LONG joystick = 0;
    LONG period = 0;
    LONG changed = 0;
};

struct MessageBoxView {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    std::vector<std::string> buttons;  // the visible buttons' texts
    ProbeIcon icon = kIconNone;
};

class Probe;

// One run of the program in its own temporary working directory, ended and cleaned up
// when the object goes.
class Program {
public:
    explicit Program(std::optional<std::string> inputDat, Joystick joystick = Joystick::None,
                     Placement placement = Placement::AsBuilt);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND mainWindow();  // waits for the visible main window
    std::optional<HWND> findMainWindow(bool visibleOnly) const;
    HWND control(int id);               // a child of the main window, by id
    std::vector<HWND> dialogs() const;  // the program's visible dialog windows
    MessageBoxView waitForMessageBox();
    HWND waitForDialog(const std::string& caption);
    static void dismiss(const MessageBoxView& box);  // clicks its OK and waits until it is gone

    bool running() const;
    std::vector<std::string> loadedModules() const;  // the paths of the DLLs and the executable
    int waitForExit(Millis limit = kWait);
    std::optional<std::string> file(const std::string& name = "input.dat") const;
    std::vector<std::string> filesInWorkDir() const;
    std::string pathInWorkDir(const std::string& name) const;

    // Input that waits until the program has taken it, so that what the test does next
    // through another channel (the joystick) cannot overtake it.
    void clickButton(HWND button);   // until its BN_CLICKED reached the program
    void pressKey(WORD virtualKey);  // until the release was taken from the queue
    void pressChord(std::initializer_list<WORD> keys);
    // A character as an on-screen keyboard types it (KEYEVENTF_UNICODE, which the
    // program receives as VK_PACKET), until its release was taken from the queue.
    void typeCharacter(wchar_t character);
    // Drops the list down with a click and clicks the entry, as a user chooses one,
    // until CBN_SELCHANGE reached the program.
    void chooseListEntry(HWND comboBox, int index);

    // Stand-in joystick: changes the held buttons and waits until a press is posted.
    void holdButtons(LONG mask);
    CaptureCall captureCall() const;

    // Questions answered inside the program's UI thread.
    bool usesDefaultGuiFont(HWND window);
    bool usesSystemFont(HWND window);
    ProbeIcon iconOf(HWND staticControl);
    ProbeReply classRegistration(HWND window);
    RECT dialogUnitsToPixels(HWND dialog, RECT units);
    // How a window created after the first of the calls above was asked for.
    std::optional<Creation> creationOf(HWND window);

    DWORD processId() const {
        return process_.dwProcessId;
    }

private:
    std::string placeExecutable(Joystick joystick, Placement placement);
    void start(const std::string& executable, Joystick joystick);
    void sendKeyInput(std::vector<INPUT>& inputs, LONG releases);  // until that many releases were taken
    Probe& probe();

    std::string root_;
    std::string workDir_;
    PROCESS_INFORMATION process_{};
    HANDLE joystickMapping_ = nullptr;
    JoystickChannel* joystick_ = nullptr;
    std::unique_ptr<Probe> probe_;
    bool mainWindowShown_ = false;
};

}  // namespace e2e
