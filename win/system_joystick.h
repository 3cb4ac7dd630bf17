#pragma once

#include <windows.h>

#include <mmsystem.h>  // after windows.h, which it needs

// The joystick calls of the system's winmm.dll, which is loaded on first use from
// the system folder by its full path, never found through the search path. If it
// or one of the calls cannot be had, they answer as with no joystick driver.
UINT systemJoyGetNumDevs();
MMRESULT systemJoyGetPos(UINT joystick, LPJOYINFO position);
MMRESULT systemJoySetCapture(HWND window, UINT joystick, UINT period, BOOL changed);
