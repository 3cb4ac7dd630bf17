// The baseline for tools/measure-startup: a plain window that asks for joystick 1
// as Input Config does at start-up, through the same loading of winmm from the
// system folder, with the same static runtime and linker options. It lacks what
// the program adds: its resources, the settings file, the controls and the
// joystick capture that it sets when joystick 1 answers.
#include <windows.h>

#include "system_joystick.h"

namespace {

const char* const kClassName = "BareWindow";

LRESULT CALLBACK bareWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR /*commandLine*/,
                   int showCommand) {
    JOYINFO position;
    if (systemJoyGetNumDevs() != 0) {
        systemJoyGetPos(JOYSTICKID1, &position);
    }
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = bareWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground =
        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);  // NOLINT(performance-no-int-to-ptr)
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExA(&windowClass) == 0) {
        return 1;
    }
    HWND window = CreateWindowExA(WS_EX_CLIENTEDGE, kClassName, "Bare Window", WS_SYSMENU, 100, 100, 400, 430,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
