#pragma once

#include <windows.h>

// A function of a loaded DLL, typed as the caller declares it; nullptr when the
// DLL lacks it. GetProcAddress gives an untyped pointer; going through the
// generic function pointer type keeps g++'s -Wcast-function-type quiet.
template <class Function>
Function procedureAddress(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
