#include "main_window.h"

#include <mmsystem.h>

#include <cstdint>
#include <string>

#include "axis_dialog.h"
#include "binding_set.h"
#include "capture_controller.h"
#include "child_id.h"
#include "names.h"
#include "resource_ids.h"
#include "settings_file.h"
#include "system_joystick.h"

namespace {

struct ControlLayout {
    const char* className = nullptr;
    const char* text = nullptr;
    DWORD extraStyle = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int id = 0;
};

// In creation order; positions in client pixels. The device list's height is
// that of its dropped-down list.
const ControlLayout kControls[] = {
    {"BUTTON", nullptr, BS_GROUPBOX, 12, 5, 365, 320, IDC_STATIC},
    {"STATIC", "Input Device:", 0, 32, 35, 70, 25, IDC_DEVICE_LABEL},
    {"COMBOBOX", nullptr, CBS_DROPDOWNLIST, 150, 31, 155, 100, IDC_DEVICE_COMBO},
    {"BUTTON", "D-Pad Axis", 0, 310, 31, 60, 20, IDC_AXIS_BUTTON},
    {"BUTTON", "UP", 0, 30, 70, 70, 25, IDC_SLOT_UP},
    {"BUTTON", "Down", 0, 30, 100, 70, 25, IDC_SLOT_DOWN},
    {"BUTTON", "Right", 0, 30, 130, 70, 25, IDC_SLOT_RIGHT},
    {"BUTTON", "Left", 0, 30, 160, 70, 25, IDC_SLOT_LEFT},
    {"BUTTON", "A", 0, 30, 190, 70, 25, IDC_SLOT_A},
    {"BUTTON", "B", 0, 30, 220, 70, 25, IDC_SLOT_B},
    {"BUTTON", "Start", 0, 30, 250, 70, 25, IDC_SLOT_START},
    {"BUTTON", "Select", 0, 30, 280, 70, 25, IDC_SLOT_SELECT},
    {"BUTTON", "Ok", 0, 200, 350, 70, 25, IDC_OK},
    {"BUTTON", "Cancel", 0, 290, 350, 70, 25, IDC_CANCEL},
    {"BUTTON", nullptr, BS_GROUPBOX, 12, 330, 365, 60, IDC_STATIC},
    {"STATIC", "", 0, 150, 70, 210, 200, IDC_SUMMARY},
};

// Buttons 1 to 4 of the held-button mask that the joystick interface reports.
const WPARAM kHeldButtonsMask = JOY_BUTTON1 | JOY_BUTTON2 | JOY_BUTTON3 | JOY_BUTTON4;

// The system command in WM_SYSCOMMAND's first parameter; the system uses the
// four low bits itself.
const WPARAM kSystemCommandMask = 0xFFF0;

void createControls(HWND window, HINSTANCE instance) {
    for (const ControlLayout& control : kControls) {
        CreateWindowExA(0, control.className, control.text, WS_CHILD | WS_VISIBLE | control.extraStyle,
                        control.x, control.y, control.width, control.height, window,
                        childIdAsMenu(control.id), instance, nullptr);
    }
}

// The frames (no id) keep the system font.
void setControlFonts(HWND window) {
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (int id = IDC_DEVICE_LABEL; id <= IDC_AXIS_BUTTON; ++id) {
        SendDlgItemMessageA(window, id, WM_SETFONT, font, FALSE);
    }
}

void addDeviceName(HWND window, const char* name) {
    SendDlgItemMessageA(window, IDC_DEVICE_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
}

void selectDeviceName(HWND window, InputDevice device) {
    SendDlgItemMessageA(window, IDC_DEVICE_COMBO, CB_SETCURSEL, static_cast<WPARAM>(device), 0);
}

bool joystickUsable() {
    JOYINFO position;
    return systemJoyGetNumDevs() != 0 && systemJoyGetPos(JOYSTICKID1, &position) == JOYERR_NOERROR;
}

void setSummary(HWND window, const std::string& summary) {
    SetDlgItemTextA(window, IDC_SUMMARY, summary.c_str());
}

void enableControl(HWND window, int id, bool enabled) {
    EnableWindow(GetDlgItem(window, id), enabled ? TRUE : FALSE);
}

// Directions follow the joystick's pad in joypad mode, so only there they
// cannot be bound, and only there the axis offset matters.
void refreshView(HWND window) {
    const bool joypad = bindingSet.device == InputDevice::Joypad;
    setSummary(window, joypad ? joypadSummary(bindingSet) : keyboardSummary(bindingSet));
    enableControl(window, IDC_AXIS_BUTTON, joypad);
    for (int id = IDC_SLOT_UP; id <= IDC_SLOT_LEFT; ++id) {
        enableControl(window, id, !joypad);
    }
}

void offerDevices(HWND window) {
    addDeviceName(window, "KEYBOARD");
    if (joystickUsable()) {
        // Polling period 0: the shortest the joystick interface supports.
        systemJoySetCapture(window, JOYSTICKID1, 0, TRUE);
        addDeviceName(window, "JOYPAD");
        selectDeviceName(window, bindingSet.device);
        return;
    }
    if (bindingSet.device == InputDevice::Joypad) {
        MessageBoxA(window, "JoyPad not attached", "JoyPad", MB_OK | MB_ICONINFORMATION);
    }
    selectDeviceName(window, InputDevice::Keyboard);
    setDevice(InputDevice::Keyboard);
}

void onDeviceChosen(HWND window) {
    const LRESULT index = SendDlgItemMessageA(window, IDC_DEVICE_COMBO, CB_GETCURSEL, 0, 0);
    setDevice(index != 0 ? InputDevice::Joypad : InputDevice::Keyboard);
    refreshView(window);
}

// The focus goes back to the main window so that the next key release reaches it.
void onSlotButton(HWND window, int id) {
    selectSlot(static_cast<Slot>(id - IDC_SLOT_UP));
    SetFocus(window);
}

void onOk(HWND window) {
    if (saveSettings()) {
        DestroyWindow(window);
        return;
    }
    // Without an owner, so that the user can still retry or cancel.
    MessageBoxA(nullptr, "Error Saving input.dat", "Error", MB_OK | MB_ICONERROR);
}

LRESULT onCreate(HWND window, LPARAM lParam) {
    const auto* creation =
        reinterpret_cast<const CREATESTRUCTA*>(lParam);  // NOLINT(performance-no-int-to-ptr)
    createControls(window, creation->hInstance);
    setControlFonts(window);
    offerDevices(window);
    refreshView(window);
    return 0;
}

LRESULT onCommand(HWND window, WPARAM wParam) {
    const int id = LOWORD(wParam);
    switch (id) {
        case IDC_DEVICE_COMBO:
            if (HIWORD(wParam) == CBN_SELCHANGE) {
                onDeviceChosen(window);
            }
            break;
        case IDC_SLOT_UP:
        case IDC_SLOT_DOWN:
        case IDC_SLOT_RIGHT:
        case IDC_SLOT_LEFT:
        case IDC_SLOT_A:
        case IDC_SLOT_B:
        case IDC_SLOT_START:
        case IDC_SLOT_SELECT:
            onSlotButton(window, id);
            break;
        case IDC_OK:
            onOk(window);
            break;
        case IDC_CANCEL:
            DestroyWindow(window);
            break;
        case IDC_AXIS_BUTTON:
            runAxisDialog(window);
            break;
        default:
            break;
    }
    return 0;
}

LRESULT onKeyUp(HWND window, WPARAM wParam) {
    const CaptureResult result = onKeyReleased(LOWORD(wParam));
    if (result == CaptureResult::Rejected) {
        MessageBoxA(window, "Key is already in use", "Key", MB_OK | MB_ICONWARNING);
    }
    if (result != CaptureResult::Ignored) {
        setSummary(window, keyboardSummary(bindingSet));
    }
    return 0;
}

LRESULT onJoystickButtonDown(HWND window, WPARAM wParam) {
    const auto heldButtons = static_cast<std::uint32_t>(wParam & kHeldButtonsMask);
    if (onJoypadButtonsDown(heldButtons) == CaptureResult::Assigned) {
        setSummary(window, joypadSummary(bindingSet));
    }
    return 0;
}

// Alt or F10 released alone (lParam 0) would put the window in the menu's
// keyboard mode, which swallows the next key, the one an armed slot waits for.
// Alt+Space (the system menu, lParam the space), Alt+F4 and every other command
// go on as usual.
LRESULT onSystemCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    if ((wParam & kSystemCommandMask) == SC_KEYMENU && lParam == 0) {
        return 0;
    }
    return DefWindowProcA(window, WM_SYSCOMMAND, wParam, lParam);
}

// Nothing is saved except through Ok.
LRESULT onClose(HWND window) {
    DestroyWindow(window);
    return 0;
}

LRESULT onDestroy() {
    PostQuitMessage(0);
    return 0;
}

}  // namespace

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return onCreate(window, lParam);
        case WM_COMMAND:
            return onCommand(window, wParam);
        case WM_KEYUP:
            return onKeyUp(window, wParam);
        case MM_JOY1BUTTONDOWN:
            return onJoystickButtonDown(window, wParam);
        case WM_SYSCOMMAND:
            return onSystemCommand(window, wParam, lParam);
        case WM_CLOSE:
            return onClose(window);
        case WM_DESTROY:
            return onDestroy();
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
