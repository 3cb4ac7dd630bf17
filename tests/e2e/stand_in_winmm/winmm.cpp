// Test-only winmm.dll, put in the test prefix's system folder for programs named
// InputConfig.exe: joystick 1 as the test describes it in the shared JoystickChannel.
// Button presses reach the captured window the way the joystick interface delivers
// them, from a polling thread. Without a channel it answers as Wine's own winmm does
// with no joystick.
#define _WINMM_  // NOLINT(bugprone-reserved-identifier): these are the definitions, not imports
#include <windows.h>

#include <mmsystem.h>  // after windows.h, which it needs

#include "channels.h"

namespace {

constexpr DWORD kPollMilliseconds = 5;
constexpr UINT kWineDeviceCount = 16;

e2e::JoystickChannel* channel() {
    static e2e::JoystickChannel* const shared = [] {
        const std::string name = e2e::joystickChannelName(GetCurrentProcessId());
        HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
        if (mapping == nullptr) {
            return static_cast<e2e::JoystickChannel*>(nullptr);
        }
        // The mapping stays open for the life of the process.
        return static_cast<e2e::JoystickChannel*>(
            MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(e2e::JoystickChannel)));
    }();
    return shared;
}

DWORD WINAPI pollButtons(LPVOID parameter) {
    const auto window = static_cast<HWND>(parameter);
    e2e::JoystickChannel* shared = channel();
    // Only presses after the capture began are reported.
    LONG previous = InterlockedCompareExchange(&shared->heldButtons, 0, 0) & 0xF;
    InterlockedIncrement(&shared->pollersRunning);
    while (IsWindow(window)) {
        const LONG held = InterlockedCompareExchange(&shared->heldButtons, 0, 0) & 0xF;
        const LONG pressed = held & ~previous;
        if (pressed != 0) {
            // Held mask in the low bits, JOY_BUTTONnCHG for the buttons that just went down.
            const LONG param = held | (pressed * JOY_BUTTON1CHG);
            PostMessageA(window, MM_JOY1BUTTONDOWN, static_cast<WPARAM>(param), 0);
            InterlockedExchange(&shared->lastPostedParam, param);
            InterlockedIncrement(&shared->postedPresses);
        }
        previous = held;
        Sleep(kPollMilliseconds);
    }
    return 0;
}

}  // namespace

extern "C" {

UINT WINAPI joyGetNumDevs() {
    e2e::JoystickChannel* shared = channel();
    return shared == nullptr ? kWineDeviceCount : static_cast<UINT>(shared->deviceCount);
}

MMRESULT WINAPI joyGetPos(UINT joystick, LPJOYINFO info) {
    e2e::JoystickChannel* shared = channel();
    if (info == nullptr || shared == nullptr) {
        return JOYERR_PARMS;
    }
    if (joystick != JOYSTICKID1 || shared->joystick1Attached == 0) {
        return JOYERR_UNPLUGGED;
    }
    info->wXpos = 32767;
    info->wYpos = 32767;
    info->wZpos = 0;
    info->wButtons = static_cast<UINT>(shared->heldButtons & 0xF);
    return JOYERR_NOERROR;
}

MMRESULT WINAPI joySetCapture(HWND window, UINT joystick, UINT period, BOOL changed) {
    e2e::JoystickChannel* shared = channel();
    if (shared == nullptr) {
        return MMSYSERR_NODRIVER;
    }
    InterlockedExchange64(&shared->captureWindow, reinterpret_cast<LONG64>(window));
    InterlockedExchange(&shared->captureJoystick, static_cast<LONG>(joystick));
    InterlockedExchange(&shared->capturePeriod, static_cast<LONG>(period));
    InterlockedExchange(&shared->captureChanged, changed);
    InterlockedIncrement(&shared->captureCalls);
    if (joystick != JOYSTICKID1 || shared->joystick1Attached == 0 || !IsWindow(window)) {
        return JOYERR_UNPLUGGED;
    }
    HANDLE thread = CreateThread(nullptr, 0, pollButtons, window, 0, nullptr);
    if (thread == nullptr) {
        return JOYERR_NOCANDO;
    }
    CloseHandle(thread);
    return JOYERR_NOERROR;
}

}  // extern "C"
