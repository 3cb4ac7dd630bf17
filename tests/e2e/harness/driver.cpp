#include "driver.h"

#include <tlhelp32.h>  // after windows.h, which it needs

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "procedure_address.h"

namespace e2e {

namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr Millis kPoll{10};
constexpr int kStartAttempts = 3;
constexpr DWORD kErrorProcessDiedEarly = 1359;  // ERROR_INTERNAL_ERROR from Wine's process start

[[noreturn]] void fail(const std::string& what) {
    throw Failure(what);
}

[[noreturn]] void failToStart(const std::string& what) {
    programDidNotStart() = true;
    fail(what + ": the program does not start, so the cases after this one are skipped");
}

LRESULT sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) ==
        0) {
        fail("window " + std::to_string(reinterpret_cast<uintptr_t>(window)) + " did not answer message " +
             std::to_string(message));
    }
    return static_cast<LRESULT>(result);
}

struct EnumState {
    DWORD processId;
    std::vector<HWND> found;
};

std::vector<HWND> topLevelWindowsOf(DWORD processId) {
    EnumState state{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<EnumState*>(param);  // NOLINT(performance-no-int-to-ptr)
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&state));
    return state.found;
}

std::string uniqueTempRoot() {
    static int counter = 0;
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string path = std::string(base) + "ic-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(++counter);
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
    if (!CreateDirectoryA(path.c_str(), nullptr)) {
        fail("cannot create " + path);
    }
    return path;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) {
        fail("cannot write " + path);
    }
}

void copyOrFail(const std::string& from, const std::string& to) {
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
        fail("cannot copy " + from + " to " + to + " (error " + std::to_string(GetLastError()) + ")");
    }
}

void sendInputs(std::vector<INPUT>& inputs) {
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size()) {
        fail("SendInput failed (error " + std::to_string(GetLastError()) + ")");
    }
}

INPUT keyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    switch (virtualKey) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_INSERT:
        case VK_DELETE:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_RCONTROL:
        case VK_RMENU:
        case VK_DIVIDE:
        case VK_NUMLOCK:
            input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
            break;
        default:
            break;
    }
    if (up) {
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
    }
    return input;
}

// Whether the window procedures got WM_COMMAND with `wParam` since the count was `before`.
bool commandSince(const ProbeChannel& counters, LONG before, WPARAM wParam) {
    const LONG now = counters.commands;
    for (LONG i = std::max(before, now - kRecentCommands); i < now; ++i) {
        if (counters.recentCommands[i % kRecentCommands] == static_cast<LONG64>(wParam)) {
            return true;
        }
    }
    return false;
}

}  // namespace

HarnessPaths& harnessPaths() {
    static HarnessPaths paths;
    return paths;
}

bool& programDidNotStart() {
    static bool didNotStart = false;
    return didNotStart;
}

bool waitUntil(const std::function<bool()>& condition, Millis limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPoll);
    }
}

// ---- the probe: a hook DLL in the program's UI thread, queried by a registered message

class Probe {
public:
    Probe(DWORD processId, DWORD threadId) {
        static HMODULE dll = LoadLibraryA(harnessPaths().probeHook.c_str());
        if (dll == nullptr) {
            fail("cannot load the probe hook " + harnessPaths().probeHook);
        }
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ProbeChannel),
                                      probeChannelName(processId).c_str());
        shared_ = mapping_ == nullptr ? nullptr
                                      : static_cast<ProbeChannel*>(MapViewOfFile(
                                            mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeChannel)));
        callHook_ = SetWindowsHookExA(WH_CALLWNDPROC, procedure(dll, "probeCallWndProc"), dll, threadId);
        getHook_ = SetWindowsHookExA(WH_GETMESSAGE, procedure(dll, "probeGetMessage"), dll, threadId);
        cbtHook_ = SetWindowsHookExA(WH_CBT, procedure(dll, "probeCbt"), dll, threadId);
        if (shared_ == nullptr || callHook_ == nullptr || getHook_ == nullptr || cbtHook_ == nullptr) {
            fail("cannot set up the probe (error " + std::to_string(GetLastError()) + ")");
        }
    }
    ~Probe() {
        UnhookWindowsHookEx(cbtHook_);
        UnhookWindowsHookEx(getHook_);
        UnhookWindowsHookEx(callHook_);
        UnmapViewOfFile(shared_);
        CloseHandle(mapping_);
    }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    ProbeReply ask(ProbeQuery query, HWND target) {
        static const UINT message = RegisterWindowMessageA(kProbeMessageName);
        shared_->reply = ProbeReply{};
        sendTo(target, message, static_cast<WPARAM>(query), reinterpret_cast<LPARAM>(target));
        if (InterlockedCompareExchange(&shared_->reply.answered, 0, 0) == 0) {
            fail("the probe hook did not answer");
        }
        return shared_->reply;
    }
    RECT inDialogUnits(HWND dialog, RECT units) {
        shared_->dialogUnits = units;
        return ask(kProbeDialogUnits, dialog).pixels;
    }
    ProbeChannel& counters() {
        return *shared_;
    }

private:
    static HOOKPROC procedure(HMODULE dll, const char* name) {
        const auto found = procedureAddress<HOOKPROC>(dll, name);
        if (found == nullptr) {
            fail(std::string("the probe hook lacks ") + name);
        }
        return found;
    }

    HANDLE mapping_ = nullptr;
    ProbeChannel* shared_ = nullptr;
    HHOOK callHook_ = nullptr;
    HHOOK getHook_ = nullptr;
    HHOOK cbtHook_ = nullptr;
};

// ---- reading windows

std::string textOf(HWND window) {
    const auto length = static_cast<size_t>(sendTo(window, WM_GETTEXTLENGTH, 0, 0));
    std::string text(length + 1, '\0');
    const auto copied = static_cast<size_t>(
        sendTo(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::min(copied, length));
    return text;
}

std::string classOf(HWND window) {
    char name[256];
    const int length = GetClassNameA(window, name, static_cast<int>(sizeof name));
    return std::string(name, static_cast<size_t>(std::max(length, 0)));
}

LONG styleOf(HWND window) {
    return GetWindowLongA(window, GWL_STYLE);
}

LONG exStyleOf(HWND window) {
    return GetWindowLongA(window, GWL_EXSTYLE);
}

RECT rectInParent(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string waitForText(HWND window, const std::string& expected, Millis limit) {
    std::string seen;
    waitUntil(
        [&] {
            seen = textOf(window);
            return seen == expected;
        },
        limit);
    return seen;
}

std::vector<HWND> childrenInOrder(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

std::vector<std::string> listEntries(HWND comboBox) {
    // Wide messages: Wine hands CB_GETLBTEXT's ANSI form across processes as UTF-16.
    std::vector<std::string> entries;
    const auto count = sendTo(comboBox, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto index = static_cast<WPARAM>(i);
        std::wstring entry(static_cast<size_t>(sendTo(comboBox, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
        DWORD_PTR length = 0;
        if (SendMessageTimeoutW(comboBox, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry.data()),
                                SMTO_ABORTIFHUNG, kSendTimeoutMs, &length) == 0) {
            fail("the device list did not answer");
        }
        entry.resize(std::min(static_cast<size_t>(length), entry.size()));
        std::string narrow;  // the entries are ASCII
        for (const wchar_t c : entry) {
            narrow.push_back(static_cast<char>(c));
        }
        entries.push_back(narrow);
    }
    return entries;
}

int selectedIndex(HWND comboBox) {
    return static_cast<int>(sendTo(comboBox, CB_GETCURSEL, 0, 0));
}

// ---- input

void bringToForeground(HWND window) {
    if (!waitUntil([&] {
            if (GetForegroundWindow() != window) {
                SetForegroundWindow(window);
            }
            return GetForegroundWindow() == window;
        })) {
        fail("the window did not come to the foreground");
    }
}

void clickAt(POINT screen) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs(3);
    for (auto& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = static_cast<LONG>((screen.x * 65536 + width / 2) / width);
        input.mi.dy = static_cast<LONG>((screen.y * 65536 + height / 2) / height);
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    sendInputs(inputs);
}

void click(HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) {
        fail("no window to click");
    }
    clickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void clickCloseBox(HWND topLevel) {
    RECT rect{};
    GetWindowRect(topLevel, &rect);
    const auto hit = [&](LONG x, LONG y) {
        return sendTo(topLevel, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    };
    // Down the middle to the caption, then leftwards from the right edge to the close box.
    for (LONG y = rect.top; y < rect.top + 60; ++y) {
        if (hit((rect.left + rect.right) / 2, y) != HTCAPTION) {
            continue;
        }
        for (LONG x = rect.right - 1; x > rect.right - 80; --x) {
            if (hit(x, y) == HTCLOSE) {
                clickAt(POINT{x - 3, y + 3});
                return;
            }
        }
    }
    fail("no close box found");
}

// The keys held in order, then released in reverse.
std::vector<INPUT> chordInputs(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (const WORD key : keys) {
        inputs.push_back(keyInput(key, false));
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        inputs.push_back(keyInput(*key, true));
    }
    return inputs;
}

void sendChord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs = chordInputs(keys);
    sendInputs(inputs);
}

void putTextOnClipboard(const std::string& text) {
    if (!waitUntil([] { return OpenClipboard(nullptr) != 0; })) {
        fail("cannot open the clipboard");
    }
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (memory != nullptr) {
        auto* bytes = static_cast<char*>(GlobalLock(memory));
        std::copy(text.begin(), text.end(), bytes);
        bytes[text.size()] = '\0';
        GlobalUnlock(memory);
        if (SetClipboardData(CF_TEXT, memory) == nullptr) {
            GlobalFree(memory);
            memory = nullptr;
        }
    }
    CloseClipboard();
    if (memory == nullptr) {
        fail("cannot put text on the clipboard");
    }
}

std::string summaryText(const std::array<const char*, 8>& labels) {
    static const char* const names[] = {"Up", "Down", "Right", "Left", "A", "B", "Start", "Select"};
    std::string text;
    for (size_t slot = 0; slot < labels.size(); ++slot) {
        text += std::string(names[slot]) + ": " + labels[slot] + "\r\n\r\n";
    }
    return text;
}

// ---- Program

Program::Program(std::optional<std::string> inputDat, Joystick joystick, Placement placement)
    : root_(uniqueTempRoot()), workDir_(root_ + "\\work") {
    CreateDirectoryA(workDir_.c_str(), nullptr);
    if (inputDat) {
        writeFile(pathInWorkDir("input.dat"), *inputDat);
    }
    start(placeExecutable(joystick, placement), joystick);
}

std::string Program::placeExecutable(Joystick joystick, Placement placement) {
    if (placement == Placement::BesidePlantedDlls) {
        // The name that the stand-in is loaded into, so that Wine looks beside it first.
        std::string copy = pathInWorkDir("InputConfig.exe");
        copyOrFail(harnessPaths().program, copy);
        copyOrFail(harnessPaths().standInWinmm, pathInWorkDir("winmm.dll"));
        return copy;
    }
    if (joystick == Joystick::WineOwn) {
        std::string copy = root_ + "\\InputConfigUnderAnotherName.exe";
        copyOrFail(harnessPaths().program, copy);
        return copy;
    }
    return harnessPaths().program;
}

void Program::start(const std::string& executable, Joystick joystick) {
    for (int attempt = 1;; ++attempt) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + executable + "\"";
        if (CreateProcessA(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                           nullptr, workDir_.c_str(), &startup, &process_)) {
            break;
        }
        const DWORD error = GetLastError();
        if (error != kErrorProcessDiedEarly || attempt == kStartAttempts) {
            failToStart("cannot start " + executable + " (error " + std::to_string(error) + ")");
        }
        (void)std::fprintf(stderr, "[e2e] process start failed with error %lu, retrying (%d)\n", error,
                           attempt);
    }
    if (joystick != Joystick::None && joystick != Joystick::WineOwn) {
        joystickMapping_ =
            CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(JoystickChannel),
                               joystickChannelName(process_.dwProcessId).c_str());
        joystick_ = joystickMapping_ == nullptr
                        ? nullptr
                        : static_cast<JoystickChannel*>(MapViewOfFile(joystickMapping_, FILE_MAP_ALL_ACCESS,
                                                                      0, 0, sizeof(JoystickChannel)));
        if (joystick_ == nullptr) {
            fail("cannot create the stand-in joystick's channel");
        }
        joystick_->deviceCount = joystick == Joystick::NoDriver ? 0 : 16;
        joystick_->joystick1Attached = joystick == Joystick::Unplugged ? 0 : 1;
    }
    ResumeThread(process_.hThread);
}

Program::~Program() {
    probe_.reset();
    if (process_.hProcess != nullptr) {
        if (running()) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, kSendTimeoutMs);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    if (joystick_ != nullptr) {
        UnmapViewOfFile(joystick_);
    }
    if (joystickMapping_ != nullptr) {
        CloseHandle(joystickMapping_);
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::optional<HWND> Program::findMainWindow(bool visibleOnly) const {
    for (HWND window : topLevelWindowsOf(process_.dwProcessId)) {
        if (classOf(window) != "#32770" && textOf(window) == "Input Config" &&
            (!visibleOnly || IsWindowVisible(window) != FALSE)) {
            return window;
        }
    }
    return std::nullopt;
}

HWND Program::mainWindow() {
    std::optional<HWND> found;
    if (!waitUntil([&] { return (found = findMainWindow(true)).has_value(); })) {
        if (!mainWindowShown_) {
            failToStart("the main window did not appear");
        }
        fail("the main window is no longer shown");
    }
    mainWindowShown_ = true;
    return *found;
}

HWND Program::control(int id) {
    HWND child = GetDlgItem(mainWindow(), id);
    if (child == nullptr) {
        fail("the main window has no control " + std::to_string(id));
    }
    return child;
}

std::vector<HWND> Program::dialogs() const {
    std::vector<HWND> found;
    for (HWND window : topLevelWindowsOf(process_.dwProcessId)) {
        if (classOf(window) == "#32770" && IsWindowVisible(window) != FALSE) {
            found.push_back(window);
        }
    }
    return found;
}

MessageBoxView Program::waitForMessageBox() {
    HWND box = nullptr;
    // A message box is a dialog without an edit field.
    const auto isMessageBox = [](HWND dialog) {
        return FindWindowExA(dialog, nullptr, "Edit", nullptr) == nullptr;
    };
    if (!waitUntil([&] {
            for (HWND dialog : dialogs()) {
                if (isMessageBox(dialog)) {
                    box = dialog;
                    return true;
                }
            }
            return false;
        })) {
        fail("no message box appeared");
    }
    MessageBoxView view{box, textOf(box), {}, GetWindow(box, GW_OWNER), {}, kIconNone};
    HWND textControl = GetDlgItem(box, 0xFFFF);
    for (HWND child : childrenInOrder(box)) {
        const std::string kind = classOf(child);
        const bool isIcon = (styleOf(child) & SS_TYPEMASK) == SS_ICON;
        if (kind == "Button" && IsWindowVisible(child)) {
            view.buttons.push_back(textOf(child));
        } else if (kind == "Static" && isIcon) {
            view.icon = iconOf(child);
        } else if (kind == "Static" && textControl == nullptr) {
            textControl = child;
        }
    }
    if (textControl != nullptr) {
        view.text = textOf(textControl);
    }
    return view;
}

HWND Program::waitForDialog(const std::string& caption) {
    HWND found = nullptr;
    if (!waitUntil([&] {
            for (HWND dialog : dialogs()) {
                if (textOf(dialog) == caption) {
                    found = dialog;
                    return true;
                }
            }
            return false;
        })) {
        fail("no dialog \"" + caption + "\" appeared");
    }
    return found;
}

void Program::dismiss(const MessageBoxView& box) {
    HWND ok = GetDlgItem(box.window, IDOK);
    if (ok == nullptr) {
        fail("the message box has no OK button");
    }
    click(ok);
    if (!waitUntil([&] { return IsWindow(box.window) == FALSE; })) {
        fail("the message box did not close");
    }
}

bool Program::running() const {
    return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<std::string> Program::loadedModules() const {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process_.dwProcessId);
    if (snapshot == INVALID_HANDLE_VALUE) {
        fail("cannot list the program's modules (error " + std::to_string(GetLastError()) + ")");
    }
    std::vector<std::string> paths;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(snapshot, &module); more != FALSE;
         more = Module32Next(snapshot, &module)) {
        paths.emplace_back(module.szExePath);
    }
    CloseHandle(snapshot);
    return paths;
}

int Program::waitForExit(Millis limit) {
    if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
        fail("the program did not exit");
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

std::string Program::pathInWorkDir(const std::string& name) const {
    return workDir_ + "\\" + name;
}

std::optional<std::string> Program::file(const std::string& name) const {
    std::ifstream in(pathInWorkDir(name), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Program::filesInWorkDir() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(workDir_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void Program::holdButtons(LONG mask) {
    if (joystick_ == nullptr) {
        fail("this run has no stand-in joystick");
    }
    if (!waitUntil([&] { return joystick_->pollersRunning != 0; })) {
        fail("the program did not capture the stand-in joystick");
    }
    const LONG posted = joystick_->postedPresses;
    const bool pressesNew = (mask & ~InterlockedExchange(&joystick_->heldButtons, mask) & 0xF) != 0;
    if (pressesNew && !waitUntil([&] { return joystick_->postedPresses != posted; })) {
        fail("the stand-in joystick posted no button press");
    }
}

CaptureCall Program::captureCall() const {
    if (joystick_ == nullptr) {
        fail("this run has no stand-in joystick");
    }
    const auto window =
        reinterpret_cast<HWND>(joystick_->captureWindow);  // NOLINT(performance-no-int-to-ptr)
    return CaptureCall{joystick_->captureCalls, window, joystick_->captureJoystick, joystick_->capturePeriod,
                       joystick_->captureChanged};
}

Probe& Program::probe() {
    if (!probe_) {
        probe_ = std::make_unique<Probe>(process_.dwProcessId, process_.dwThreadId);
    }
    return *probe_;
}

bool Program::usesDefaultGuiFont(HWND window) {
    return probe().ask(kProbeFont, window).fontIsDefaultGui != 0;
}

bool Program::usesSystemFont(HWND window) {
    return probe().ask(kProbeFont, window).hasFont == 0;
}

void Program::chooseListEntry(HWND comboBox, int index) {
    const ProbeChannel& counters = probe().counters();
    const LONG before = counters.commands;

    HWND list = nullptr;
    click(comboBox);
    if (!waitUntil([&] {
            for (HWND window : topLevelWindowsOf(process_.dwProcessId)) {
                if (classOf(window) == "ComboLBox" && IsWindowVisible(window) != FALSE) {
                    list = window;
                    return true;
                }
            }
            return false;
        })) {
        fail("the device list did not drop down");
    }
    const auto itemHeight = static_cast<LONG>(sendTo(list, LB_GETITEMHEIGHT, 0, 0));
    RECT area{};
    GetClientRect(list, &area);
    MapWindowPoints(list, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
    clickAt(POINT{(area.left + area.right) / 2, area.top + itemHeight * index + itemHeight / 2});
    const WPARAM selectionChanged = MAKEWPARAM(GetDlgCtrlID(comboBox), CBN_SELCHANGE);
    if (!waitUntil([&] {
            return IsWindowVisible(list) == FALSE && commandSince(counters, before, selectionChanged);
        })) {
        fail("choosing a list entry did not notify the window");
    }
}

void Program::clickButton(HWND button) {
    const ProbeChannel& counters = probe().counters();
    const LONG before = counters.commands;
    click(button);
    const auto id = static_cast<WORD>(GetDlgCtrlID(button));
    if (!waitUntil([&] { return commandSince(counters, before, MAKEWPARAM(id, BN_CLICKED)); })) {
        fail("clicking button " + std::to_string(id) + " sent no command");
    }
}

void Program::sendKeyInput(std::vector<INPUT>& inputs, LONG releases) {
    const ProbeChannel& counters = probe().counters();
    const LONG before = counters.keyUpsTaken;
    // Keys go to the foreground window; a window just shown may not be there yet.
    if (!waitUntil([&] {
            DWORD owner = 0;
            GetWindowThreadProcessId(GetForegroundWindow(), &owner);
            return owner == process_.dwProcessId;
        })) {
        fail("no window of the program came to the foreground");
    }
    sendInputs(inputs);
    if (!waitUntil([&] { return counters.keyUpsTaken - before >= releases; })) {
        fail("the program did not take the key releases");
    }
}

void Program::pressChord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs = chordInputs(keys);
    sendKeyInput(inputs, static_cast<LONG>(keys.size()));
}

void Program::typeCharacter(wchar_t character) {
    std::vector<INPUT> inputs(2);
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = character;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    sendKeyInput(inputs, 1);
}

void Program::pressKey(WORD virtualKey) {
    pressChord({virtualKey});
}

ProbeIcon Program::iconOf(HWND staticControl) {
    return static_cast<ProbeIcon>(probe().ask(kProbeStaticIcon, staticControl).icon);
}

std::optional<Creation> Program::creationOf(HWND window) {
    const ProbeChannel& shared = probe().counters();
    for (LONG i = shared.creations - 1; i >= std::max(0L, shared.creations - kRecentCreations); --i) {
        if (shared.recentCreations[i % kRecentCreations].window == reinterpret_cast<LONG64>(window)) {
            return shared.recentCreations[i % kRecentCreations];
        }
    }
    return std::nullopt;
}

RECT Program::dialogUnitsToPixels(HWND dialog, RECT units) {
    return probe().inDialogUnits(dialog, units);
}

ProbeReply Program::classRegistration(HWND window) {
    return probe().ask(kProbeWindowClass, window);
}

}  // namespace e2e
