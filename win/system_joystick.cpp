// winmm.dll is not one of the DLLs that Windows always takes from its own folder:
// imported at load time, a winmm.dll beside the program would be loaded instead.
#include "system_joystick.h"

#include <string>

namespace {

using JoyGetNumDevsCall = UINT(WINAPI*)();
using JoyGetPosCall = MMRESULT(WINAPI*)(UINT, LPJOYINFO);
using JoySetCaptureCall = MMRESULT(WINAPI*)(HWND, UINT, UINT, BOOL);

struct JoystickCalls {
    JoyGetNumDevsCall getNumDevs;
    JoyGetPosCall getPos;
    JoySetCaptureCall setCapture;
};

bool loadAttempted = false;
JoystickCalls calls{};  // all set, or none

std::wstring systemWinmmPath() {
    std::wstring folder(MAX_PATH, L'\0');
    UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length >= folder.size()) {  // too small: the size needed, terminator included
        folder.resize(length);
        length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    }
    if (length == 0 || length >= folder.size()) {
        return std::wstring();
    }
    folder.resize(length);
    return folder + L"\\winmm.dll";
}

template <class Call>
Call procedure(HMODULE module, const char* name) {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Kept loaded while the program runs. The altered search path takes winmm's own
// dependencies from its folder too, also where the default DLL directories
// cannot be set.
void loadJoystickCalls() {
    loadAttempted = true;
    const std::wstring path = systemWinmmPath();
    HMODULE winmm =
        path.empty() ? nullptr : LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (winmm == nullptr) {
        return;
    }
    const JoystickCalls found{procedure<JoyGetNumDevsCall>(winmm, "joyGetNumDevs"),
                              procedure<JoyGetPosCall>(winmm, "joyGetPos"),
                              procedure<JoySetCaptureCall>(winmm, "joySetCapture")};
    if (found.getNumDevs == nullptr || found.getPos == nullptr || found.setCapture == nullptr) {
        FreeLibrary(winmm);
        return;
    }
    calls = found;
}

const JoystickCalls& joystickCalls() {
    if (!loadAttempted) {
        loadJoystickCalls();
    }
    return calls;
}

}  // namespace

UINT systemJoyGetNumDevs() {
    const JoystickCalls& loaded = joystickCalls();
    return loaded.getNumDevs != nullptr ? loaded.getNumDevs() : 0;
}

MMRESULT systemJoyGetPos(UINT joystick, LPJOYINFO position) {
    const JoystickCalls& loaded = joystickCalls();
    return loaded.getPos != nullptr ? loaded.getPos(joystick, position) : MMSYSERR_NODRIVER;
}

MMRESULT systemJoySetCapture(HWND window, UINT joystick, UINT period, BOOL changed) {
    const JoystickCalls& loaded = joystickCalls();
    return loaded.setCapture != nullptr ? loaded.setCapture(window, joystick, period, changed)
                                        : MMSYSERR_NODRIVER;
}
