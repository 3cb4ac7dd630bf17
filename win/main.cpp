#include <windows.h>

#include "main_window.h"
#include "procedure_address.h"
#include "resource_ids.h"
#include "settings_file.h"

namespace {

const char* const kMainWindowClassName = "WNDQZKEYCONFIG";
const char* const kMainWindowTitle = "Input Config";
const int kMainWindowX = 100;
const int kMainWindowY = 100;
const int kMainWindowWidth = 400;
const int kMainWindowHeight = 430;
const int kSmallIconSize = 16;

// From now on, DLLs are looked for in the system folder only, never beside the
// program or in its working folder. Looked up at run time: Vista and 7 have it
// only with an update. Without it, the working folder at least is taken out of
// the search; the program's own folder is then still searched first.
void loadDllsFromSystemFolderOnly() {
    using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = procedureAddress<SetDefaultDllDirectoriesCall>(
        GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefaultDllDirectories != nullptr) {
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    } else {
        SetDllDirectoryW(L"");
    }
}

void showStartUpError(const char* text) {
    MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONERROR);
}

bool registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = 0;
    windowClass.lpfnWndProc = mainWindowProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // The system colours are passed as brushes offset by one.
    windowClass.hbrBackground =
        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);  // NOLINT(performance-no-int-to-ptr)
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kMainWindowClassName;
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                                        kSmallIconSize, kSmallIconSize, LR_DEFAULTCOLOR));
    return RegisterClassExA(&windowClass) != 0;
}

HWND createMainWindow(HINSTANCE instance) {
    return CreateWindowExA(WS_EX_CLIENTEDGE, kMainWindowClassName, kMainWindowTitle, WS_SYSMENU, kMainWindowX,
                           kMainWindowY, kMainWindowWidth, kMainWindowHeight, nullptr, nullptr, instance,
                           nullptr);
}

// No dialog navigation and no accelerators: Tab, Enter, Escape and Space must
// reach the main window as plain key messages so that they can be bound.
void runMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR /*commandLine*/,
                   int showCommand) {
    loadDllsFromSystemFolderOnly();
    if (!loadSettings()) {
        showStartUpError("Error Reading input.dat");
        return 0;
    }
    if (!registerMainWindowClass(instance)) {
        showStartUpError("Error Registering Window Class");
        return 0;
    }
    HWND mainWindow = createMainWindow(instance);
    if (mainWindow == nullptr) {
        showStartUpError("Error Creating Window");
        return 0;
    }
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    runMessageLoop();
    return 0;
}
