#pragma once

#include <windows.h>

// Shows the D-Pad Axis dialog modally over the main window; a new offset is
// stored when the user presses Ok.
void runAxisDialog(HWND owner);
