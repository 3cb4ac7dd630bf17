#pragma once

#include <windows.h>

// The window procedure of the main window class.
LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
