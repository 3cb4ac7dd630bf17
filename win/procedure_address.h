#pragma once

#include <windows.h>

// A function of a loaded DLL, typed as the caller declares it; nullptr when the
// DLL lacks it. GetProcAddress gives an untyped pointer.
template <class Function>
Function procedureAddress(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
