#pragma once

#include <cstdint>
#include <string>

// Converts the D-Pad Axis field's text as atoi would (leading white space, one
// sign, digits up to the first other character, none gives 0), taken as an
// unsigned 32-bit value. Out of range it saturates: above 4294967295 gives
// 4294967295, below -2147483648 gives 2147483648.
std::uint32_t axisOffsetFromText(const std::string& text);
