// Memory shared between the tests and the pieces they place in the program's process
// (the stand-in winmm.dll and the probe hook DLL). Each block is a named file mapping
// whose name carries the program's process id, so runs never see each other's.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Written by the test before and while the program runs; read by the stand-in winmm.
struct JoystickChannel {
    volatile LONG deviceCount;        // joyGetNumDevs result
    volatile LONG joystick1Attached;  // whether joyGetPos(JOYSTICKID1) succeeds
    volatile LONG heldButtons;        // JOY_BUTTON1..4 held down now
    // Written by the stand-in: what joySetCapture got and what it posted since.
    volatile LONG captureCalls;
    volatile LONG64 captureWindow;
    volatile LONG captureJoystick;
    volatile LONG capturePeriod;
    volatile LONG captureChanged;
    volatile LONG pollersRunning;  // polling threads that have read their starting state
    volatile LONG postedPresses;   // MM_JOY1BUTTONDOWN messages posted
    volatile LONG lastPostedParam;
};

inline std::string joystickChannelName(DWORD programProcessId) {
    return "Local\\InputConfigE2E.joystick." + std::to_string(programProcessId);
}

// What the probe hook can be asked, inside the program's UI thread.
enum ProbeQuery : LONG {
    kProbeFont = 1,         // the font a window uses
    kProbeStaticIcon = 2,   // which stock icon a static control shows
    kProbeWindowClass = 3,  // the registration of a window's class
    kProbeDialogUnits = 4,  // a rectangle in a dialog's units, in pixels
};

// Stock icons as a message box shows them.
enum ProbeIcon : LONG {
    kIconNone = 0,
    kIconInformation,
    kIconWarning,
    kIconError,
    kIconQuestion,
    kIconOther
};

struct ProbeReply {
    LONG answered;  // set by the hook when the reply below is complete
    // kProbeFont
    LONG hasFont;           // WM_GETFONT returned a font (not the system font)
    LONG fontIsDefaultGui;  // that font is the stock DEFAULT_GUI_FONT
    // kProbeStaticIcon
    LONG icon;  // a ProbeIcon
    // kProbeWindowClass
    LONG classStyle;
    LONG classExtraBytes;
    LONG windowExtraBytes;
    LONG64 background;  // the brush handle value, e.g. COLOR_BTNFACE + 1
    LONG cursorIsArrow;
    LONG hasMenuName;
    LONG instanceIsProgram;    // registered with the program's own module
    LONG largeIconIsApp;       // same handle as LoadIconA(program, IDI_APP)
    LONG largeIconSize;        // width of the large icon in pixels
    LONG smallIconSize;        // width of the small icon in pixels
    LONG smallIconMatchesApp;  // same pixels as the 16 px image of IDI_APP
    // kProbeDialogUnits
    RECT pixels;
};

inline constexpr LONG kRecentCommands = 16;
inline constexpr LONG kRecentCreations = 32;

// A window as its creator asked for it; some classes change their style afterwards.
struct Creation {
    LONG64 window;
    LONG style;
    LONG exStyle;
};

// Besides replies, the hook counts what the UI thread has taken in, so that a test can
// tell when its input has been handled before it acts through another channel.
struct ProbeChannel {
    volatile LONG commands;                           // WM_COMMAND messages that reached a window procedure
    volatile LONG64 recentCommands[kRecentCommands];  // their first parameters, by count modulo the size
    volatile LONG keyUpsTaken;                        // WM_KEYUP and WM_SYSKEYUP taken from the queue
    volatile LONG creations;                          // windows created since the hooks were set
    Creation recentCreations[kRecentCreations];       // by count modulo the size
    RECT dialogUnits;                                 // the question of kProbeDialogUnits
    ProbeReply reply;
};

inline std::string probeChannelName(DWORD programProcessId) {
    return "Local\\InputConfigE2E.probe." + std::to_string(programProcessId);
}

inline constexpr const char* kProbeMessageName = "InputConfigE2E.Probe";

}  // namespace e2e
