// winmm.dll is not one of the DLLs that Windows always takes from the system
// folder: imported at load time, a winmm.dll beside the program would be loaded.
#include "system_joystick.h"

#include <algorithm>
#include <iterator>

#include "procedure_address.h"

namespace {

using JoyGetNumDevsCall = UINT(WINAPI*)();
using JoyGetPosCall = MMRESULT(WINAPI*)(UINT, LPJOYINFO);
using JoySetCaptureCall = MMRESULT(WINAPI*)(HWND, UINT, UINT, BOOL);

struct JoystickCalls {
    JoyGetNumDevsCall getNumDevs;
    JoyGetPosCall getPos;
    JoySetCaptureCall setCapture;
};

// False if the path does not fit, which no Windows folder layout comes near; the
// program then runs as without a joystick driver.
bool systemWinmmPath(wchar_t (&path)[MAX_PATH]) {
    const wchar_t fileName[] = L"\\winmm.dll";
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + std::size(fileName) > MAX_PATH) {
        return false;
    }
    std::copy(std::begin(fileName), std::end(fileName), path + length);
    return true;
}

// All three calls, or none. The DLL stays loaded while the program runs. The
// altered search path takes winmm's own dependencies from its folder too, also
// where the default DLL directories cannot be set.
JoystickCalls loadJoystickCalls() {
    wchar_t path[MAX_PATH];
    HMODULE winmm =
        systemWinmmPath(path) ? LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH) : nullptr;
    if (winmm == nullptr) {
        return JoystickCalls{};
    }
    const JoystickCalls found{procedureAddress<JoyGetNumDevsCall>(winmm, "joyGetNumDevs"),
                              procedureAddress<JoyGetPosCall>(winmm, "joyGetPos"),
                              procedureAddress<JoySetCaptureCall>(winmm, "joySetCapture")};
    if (found.getNumDevs == nullptr || found.getPos == nullptr || found.setCapture == nullptr) {
        FreeLibrary(winmm);
        return JoystickCalls{};
    }
    return found;
}

// Loaded on first use.
const JoystickCalls& joystickCalls() {
    static const JoystickCalls calls = loadJoystickCalls();
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
