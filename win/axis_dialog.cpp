#include "axis_dialog.h"

#include <string>

#include "axis_offset.h"
#include "binding_set.h"
#include "capture_controller.h"
#include "child_id.h"
#include "resource_ids.h"

namespace {

// Pixels in the dialog's client area, not dialog units.
const int kEditX = 90;
const int kEditY = 30;
const int kEditWidth = 60;
const int kEditHeight = 20;

// No tab stop, so the dialog opens with the focus on Ok; no auto-scroll, so
// typing stops when the field is full.
void createOffsetField(HWND dialog) {
    HWND field = CreateWindowExA(0, "EDIT", nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER, kEditX,
                                 kEditY, kEditWidth, kEditHeight, dialog, childIdAsMenu(IDC_AXIS_EDIT),
                                 GetModuleHandleA(nullptr), nullptr);
    SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetDlgItemInt(dialog, IDC_AXIS_EDIT, bindingSet.axisOffset, FALSE);
}

// Reads the whole text, also the part that does not fit in the field.
void takeOffset(HWND dialog) {
    HWND field = GetDlgItem(dialog, IDC_AXIS_EDIT);
    const int length = GetWindowTextLengthA(field);
    if (length == 0) {
        setAxisOffset(0);
        return;
    }
    std::string text(static_cast<std::string::size_type>(length) + 1, '\0');
    const int copied = GetWindowTextA(field, text.data(), length + 1);
    text.resize(static_cast<std::string::size_type>(copied));
    setAxisOffset(axisOffsetFromText(text));
}

INT_PTR onInitDialog(HWND dialog) {
    createOffsetField(dialog);
    return TRUE;
}

// Every other command, also the cancel that Escape sends, leaves the dialog open.
INT_PTR onCommand(HWND dialog, WPARAM wParam) {
    if (LOWORD(wParam) == IDOK) {
        takeOffset(dialog);
        EndDialog(dialog, 0);
    }
    return TRUE;
}

INT_PTR onClose(HWND dialog) {
    EndDialog(dialog, 0);
    return TRUE;
}

INT_PTR CALLBACK axisDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
        case WM_INITDIALOG:
            return onInitDialog(dialog);
        case WM_COMMAND:
            return onCommand(dialog, wParam);
        case WM_CLOSE:
            return onClose(dialog);
        default:
            return FALSE;
    }
}

}  // namespace

void runAxisDialog(HWND owner) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_AXIS), owner, axisDialogProcedure, 0);
}
