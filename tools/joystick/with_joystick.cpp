// Starts a program that loads the end-to-end tests' stand-in winmm.dll (in a
// prefix prepared for it, a program named InputConfig.exe), with joystick 1
// attached and no button held, and waits until it ends.
//   with_joystick PROGRAM
#include <windows.h>

#include <cstdio>
#include <string>

#include "channels.h"

namespace {

// Any count other than 0 means a joystick driver is present.
const LONG kDeviceCount = 16;

int fail(const char* what) {
    static_cast<void>(std::fprintf(stderr, "with_joystick: %s (error %lu)\n", what, GetLastError()));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        static_cast<void>(std::fprintf(stderr, "usage: with_joystick PROGRAM\n"));
        return 2;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::string commandLine = std::string("\"") + argv[1] + "\"";
    // Suspended, so that the channel exists before the program asks for the joystick.
    if (CreateProcessA(argv[1], commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                       nullptr, &startup, &process) == FALSE) {
        return fail("cannot start the program");
    }
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(e2e::JoystickChannel),
                           e2e::joystickChannelName(process.dwProcessId).c_str());
    auto* channel = mapping == nullptr
                        ? nullptr
                        : static_cast<e2e::JoystickChannel*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0,
                                                                           sizeof(e2e::JoystickChannel)));
    if (channel == nullptr) {
        TerminateProcess(process.hProcess, 1);
        return fail("cannot create the joystick channel");
    }
    channel->deviceCount = kDeviceCount;
    channel->joystick1Attached = 1;
    ResumeThread(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    UnmapViewOfFile(channel);
    CloseHandle(mapping);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
