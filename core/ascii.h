#pragma once

// Character classes of the C locale, fixed so that no locale setting changes
// how the settings file or the axis field is read.
inline bool isAsciiWhiteSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

inline bool isAsciiDigit(int c) {
    return c >= '0' && c <= '9';
}
