// A writer of 16-colour (4 bits per pixel) Windows bitmap files, for saving the graph picture:
// each pixel becomes the nearest of the 16 standard colours.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace conversion {

// The 16 standard colours as 0xRRGGBB, in their usual palette order (black, maroon, green, ...
// white).
extern const std::array<std::uint32_t, 16> kStandardColours;

// The palette index of the standard colour nearest to `rgb` (0xRRGGBB, higher bits ignored),
// nearest by the sum of the squared differences of red, green and blue; ties go to the lower
// index.
std::uint8_t NearestStandardColour(std::uint32_t rgb);

// The bytes of a bitmap file of `width` by `height` pixels. `pixels` holds `height` rows top
// to bottom, row r starting at pixels + r * stride, each pixel 0x..RRGGBB (the layout of a 32-bit
// RGB image). Rows are stored bottom up and padded to four bytes, as the format has them.
std::string EncodeSixteenColourBitmap(const std::uint32_t* pixels, std::int32_t width,
                                      std::int32_t height, std::ptrdiff_t stride);

}  // namespace conversion
