#pragma once

#include <cstdint>

namespace mirelon {

// Background of a results row. Default leaves the view's own colour.
enum class BandColour : std::uint8_t { Default, White, Peach };

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

inline constexpr Rgb kWhiteRgb{255, 255, 255};
inline constexpr Rgb kPeachRgb{255, 233, 185};

inline constexpr Rgb RgbOf(BandColour colour) {
    return colour == BandColour::Peach ? kPeachRgb : kWhiteRgb;
}

} // namespace mirelon
