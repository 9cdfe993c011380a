// The 16-colour bitmap writer.
#include "conversion/sixteen_colour_bitmap.h"

#include <unordered_map>

namespace conversion {

const std::array<std::uint32_t, 16> kStandardColours = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kPaletteBytes = 16 * 4;

void Put16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

std::uint8_t NearestStandardColour(std::uint32_t rgb) {
  auto channel = [](std::uint32_t colour, int shift) {
    return static_cast<std::int32_t>((colour >> shift) & 0xFF);
  };
  std::uint8_t best = 0;
  std::int32_t bestDistance = 0;
  for (std::size_t i = 0; i < kStandardColours.size(); ++i) {
    std::int32_t distance = 0;
    for (const int shift : {16, 8, 0}) {
      const std::int32_t d = channel(rgb, shift) - channel(kStandardColours[i], shift);
      distance += d * d;
    }
    if (i == 0 || distance < bestDistance) {
      best = static_cast<std::uint8_t>(i);
      bestDistance = distance;
    }
  }
  return best;
}

std::string EncodeSixteenColourBitmap(const std::uint32_t* pixels, std::int32_t width,
                                      std::int32_t height, std::ptrdiff_t stride) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  const auto w = static_cast<std::uint32_t>(width);
  const auto h = static_cast<std::uint32_t>(height);
  const std::uint32_t rowBytes = ((w + 1) / 2 + 3) / 4 * 4;
  const std::uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes + kPaletteBytes;
  const std::uint32_t imageBytes = rowBytes * h;

  std::string out;
  out.reserve(offset + imageBytes);
  out += "BM";
  Put32(out, offset + imageBytes);
  Put32(out, 0);  // reserved
  Put32(out, offset);
  Put32(out, kInfoHeaderBytes);
  Put32(out, w);
  Put32(out, h);  // positive: rows bottom up
  Put16(out, 1);  // planes
  Put16(out, 4);  // bits per pixel
  Put32(out, 0);  // no compression
  Put32(out, imageBytes);
  Put32(out, 3780);  // 96 pixels an inch, as pixels a metre
  Put32(out, 3780);
  Put32(out, 16);  // colours used
  Put32(out, 0);   // all of them important
  for (const std::uint32_t colour : kStandardColours) {
    out.push_back(static_cast<char>(colour & 0xFF));  // blue, green, red, unused
    out.push_back(static_cast<char>((colour >> 8) & 0xFF));
    out.push_back(static_cast<char>((colour >> 16) & 0xFF));
    out.push_back('\0');
  }

  // A picture has few distinct colours (mostly the palette's own, plus the edges of smoothed
  // text), so each is matched once.
  std::unordered_map<std::uint32_t, std::uint8_t> nearest;
  auto index = [&](std::uint32_t pixel) {
    pixel &= 0xFFFFFF;
    auto found = nearest.find(pixel);
    if (found == nearest.end()) found = nearest.emplace(pixel, NearestStandardColour(pixel)).first;
    return found->second;
  };
  std::string row;
  for (std::uint32_t r = h; r-- > 0;) {
    const std::uint32_t* line = pixels + static_cast<std::ptrdiff_t>(r) * stride;
    row.assign(rowBytes, '\0');
    for (std::uint32_t x = 0; x < w; ++x) {
      const std::uint8_t colour = index(line[x]);
      char& cell = row[x / 2];
      cell =
          static_cast<char>(x % 2 == 0 ? colour << 4 : (static_cast<std::uint8_t>(cell) | colour));
    }
    out += row;
  }
  return out;
}

}  // namespace conversion
