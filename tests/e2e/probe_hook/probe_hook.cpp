// Hook DLL that the tests install on the program's UI thread. Fonts, icons and class
// registrations are handles that mean something only inside the program's process, so
// this DLL answers questions about them from there, into the shared ProbeChannel.
#include <windows.h>

#include <vector>

#include "channels.h"
#include "resource_ids.h"

namespace {

e2e::ProbeIcon stockIconOf(HICON icon) {
    if (icon == nullptr) {
        return e2e::kIconNone;
    }
    const struct {
        LPCSTR id = nullptr;
        e2e::ProbeIcon kind = e2e::kIconNone;
    } stock[] = {{IDI_INFORMATION, e2e::kIconInformation},
                 {IDI_WARNING, e2e::kIconWarning},
                 {IDI_ERROR, e2e::kIconError},
                 {IDI_QUESTION, e2e::kIconQuestion}};
    for (const auto& entry : stock) {
        if (LoadIconA(nullptr, entry.id) == icon) {
            return entry.kind;
        }
    }
    return e2e::kIconOther;
}

LONG iconWidth(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap{};
    GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// The icon's colour pixels as 32-bit values, to compare two icons image by image.
std::vector<DWORD> iconPixels(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return {};
    }
    BITMAP bitmap{};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = bitmap.bmWidth;
    format.bmiHeader.biHeight = bitmap.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(bitmap.bmWidth) * static_cast<size_t>(bitmap.bmHeight));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(bitmap.bmHeight), pixels.data(), &format,
              DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels;
}

LONG flag(bool value) {
    return value ? 1 : 0;
}

// A message parameter or result that carries a pointer or handle.
template <class Pointer, class Integer>
Pointer as(Integer value) {
    return reinterpret_cast<Pointer>(value);  // NOLINT(performance-no-int-to-ptr)
}

// A handle kept in the class registration.
template <class Handle>
Handle classHandle(HWND window, int index) {
    return as<Handle>(GetClassLongPtrA(window, index));
}

void describeClass(HWND window, e2e::ProbeReply& reply) {
    const HINSTANCE program = GetModuleHandleA(nullptr);
    reply.classStyle = static_cast<LONG>(GetClassLongPtrA(window, GCL_STYLE));
    reply.classExtraBytes = static_cast<LONG>(GetClassLongPtrA(window, GCL_CBCLSEXTRA));
    reply.windowExtraBytes = static_cast<LONG>(GetClassLongPtrA(window, GCL_CBWNDEXTRA));
    reply.background = static_cast<LONG64>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND));
    reply.cursorIsArrow = flag(classHandle<HCURSOR>(window, GCLP_HCURSOR) == LoadCursorA(nullptr, IDC_ARROW));
    reply.hasMenuName = flag(GetClassLongPtrA(window, GCLP_MENUNAME) != 0);
    reply.instanceIsProgram = flag(classHandle<HINSTANCE>(window, GCLP_HMODULE) == program);
    const auto large = classHandle<HICON>(window, GCLP_HICON);
    const auto small = classHandle<HICON>(window, GCLP_HICONSM);
    reply.largeIconIsApp = flag(large != nullptr && large == LoadIconA(program, MAKEINTRESOURCEA(IDI_APP)));
    reply.largeIconSize = iconWidth(large);
    reply.smallIconSize = iconWidth(small);
    HANDLE reference = LoadImageA(program, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, 16, 16, 0);
    const std::vector<DWORD> expected = iconPixels(static_cast<HICON>(reference));
    reply.smallIconMatchesApp = flag(!expected.empty() && iconPixels(small) == expected);
    if (reference != nullptr) {
        DestroyIcon(static_cast<HICON>(reference));
    }
}

// The test creates the channel before it installs the hooks; it outlives this process's use.
e2e::ProbeChannel* channel() {
    static e2e::ProbeChannel* shared = nullptr;
    if (shared == nullptr) {
        HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE,
                                          e2e::probeChannelName(GetCurrentProcessId()).c_str());
        if (mapping != nullptr) {
            shared = static_cast<e2e::ProbeChannel*>(
                MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(e2e::ProbeChannel)));
            CloseHandle(mapping);  // the view keeps the memory
        }
    }
    return shared;
}

void answer(LONG query, HWND target, e2e::ProbeChannel& shared) {
    e2e::ProbeReply& reply = shared.reply;
    if (query == e2e::kProbeFont) {
        const auto font = as<HGDIOBJ>(SendMessageA(target, WM_GETFONT, 0, 0));
        reply.hasFont = flag(font != nullptr);
        reply.fontIsDefaultGui = flag(font != nullptr && font == GetStockObject(DEFAULT_GUI_FONT));
    } else if (query == e2e::kProbeStaticIcon) {
        reply.icon = stockIconOf(as<HICON>(SendMessageA(target, STM_GETICON, 0, 0)));
    } else if (query == e2e::kProbeWindowClass) {
        describeClass(target, reply);
    } else if (query == e2e::kProbeDialogUnits) {
        reply.pixels = shared.dialogUnits;
        MapDialogRect(target, &reply.pixels);
    }
    InterlockedExchange(&reply.answered, 1);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK probeCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT probeMessage = RegisterWindowMessageA(e2e::kProbeMessageName);
    e2e::ProbeChannel* shared = channel();
    if (code == HC_ACTION && shared != nullptr) {
        const auto* call = as<const CWPSTRUCT*>(lParam);
        if (call->message == probeMessage) {
            answer(static_cast<LONG>(call->wParam), as<HWND>(call->lParam), *shared);
        } else if (call->message == WM_COMMAND) {
            const LONG slot = shared->commands % e2e::kRecentCommands;
            InterlockedExchange64(&shared->recentCommands[slot], static_cast<LONG64>(call->wParam));
            InterlockedIncrement(&shared->commands);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK probeGetMessage(int code, WPARAM wParam, LPARAM lParam) {
    e2e::ProbeChannel* shared = channel();
    if (code == HC_ACTION && wParam == PM_REMOVE && shared != nullptr) {
        const auto* message = as<const MSG*>(lParam);
        if (message->message == WM_KEYUP || message->message == WM_SYSKEYUP) {
            InterlockedIncrement(&shared->keyUpsTaken);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK probeCbt(int code, WPARAM wParam, LPARAM lParam) {
    e2e::ProbeChannel* shared = channel();
    if (code == HCBT_CREATEWND && shared != nullptr) {
        const CREATESTRUCTA* create = as<const CBT_CREATEWNDA*>(lParam)->lpcs;
        e2e::Creation& entry = shared->recentCreations[shared->creations % e2e::kRecentCreations];
        entry = {static_cast<LONG64>(wParam), create->style, static_cast<LONG>(create->dwExStyle)};
        InterlockedIncrement(&shared->creations);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
