#pragma once

#include <windows.h>

// CreateWindowEx takes a child window's id in its menu-handle parameter.
inline HMENU childIdAsMenu(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));  // NOLINT(performance-no-int-to-ptr)
}
