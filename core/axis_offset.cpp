#include "axis_offset.h"

#include "ascii.h"

namespace {

constexpr std::uint64_t kLargestUnsigned = 0xFFFFFFFFu;
constexpr std::uint64_t kLargestNegativeMagnitude = 0x80000000u;

}  // namespace

std::uint32_t axisOffsetFromText(const std::string& text) {
    std::size_t position = 0;
    while (position < text.size() && isAsciiWhiteSpace(text[position])) {
        ++position;
    }
    bool negative = false;
    if (position < text.size() && (text[position] == '-' || text[position] == '+')) {
        negative = text[position] == '-';
        ++position;
    }
    const std::uint64_t limit = negative ? kLargestNegativeMagnitude : kLargestUnsigned;
    std::uint64_t magnitude = 0;
    for (; position < text.size() && isAsciiDigit(text[position]); ++position) {
        // Once past the limit the value is saturated; more digits cannot bring it back.
        if (magnitude <= limit) {
            magnitude = magnitude * 10 + static_cast<std::uint64_t>(text[position] - '0');
        }
    }
    if (magnitude > limit) {
        magnitude = limit;
    }
    const auto value = static_cast<std::uint32_t>(magnitude);
    return negative ? 0u - value : value;
}
