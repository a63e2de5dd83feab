#pragma once
#include <cstdint>

namespace vormel {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

namespace colours {
inline constexpr Rgb black{0, 0, 0};
inline constexpr Rgb red{255, 0, 0};
inline constexpr Rgb navy{0, 0, 128};
inline constexpr Rgb blue{0, 0, 192};
inline constexpr Rgb green{0, 128, 0};
inline constexpr Rgb white{255, 255, 255};
inline constexpr Rgb light_green{208, 255, 208};
inline constexpr Rgb light_cyan{192, 255, 255};
inline constexpr Rgb light_grey{224, 224, 224};
inline constexpr Rgb light_yellow{255, 255, 222};
}  // namespace colours

}  // namespace vormel
