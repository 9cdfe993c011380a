// IsText, SingleByteText and ReadTextFile.
#include "app/text_file.h"

#include <algorithm>

namespace app {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The Latin-1 form of UTF-8 `bytes`, or nothing when they are not valid UTF-8 or hold a
// character beyond U+00FF. Only two-byte sequences C2 80 to C3 BF can be such characters.
std::optional<std::string> Latin1FromUtf8(std::string_view bytes) {
  std::string latin1;
  latin1.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      latin1 += static_cast<char>(lead);
      continue;
    }
    if ((lead != 0xC2 && lead != 0xC3) || i + 1 == bytes.size()) return std::nullopt;
    const auto next = static_cast<unsigned char>(bytes[i + 1]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    latin1 += static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F));
    ++i;
  }
  return latin1;
}

}  // namespace

bool IsText(std::string_view bytes) {
  return bytes.find('\0') == std::string_view::npos;
}

std::string SingleByteText(std::string bytes) {
  std::string_view body = bytes;
  if (body.starts_with(kByteOrderMark)) body.remove_prefix(kByteOrderMark.size());
  const bool beyondAscii = std::any_of(
      body.begin(), body.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (!beyondAscii) return body.size() == bytes.size() ? bytes : std::string(body);
  if (std::optional<std::string> latin1 = Latin1FromUtf8(body)) return std::move(*latin1);
  return bytes;
}

std::optional<std::string> ReadTextFile(const std::string& path, std::string& text,
                                        std::size_t maxBytes) {
  if (std::optional<std::string> failure = ReadFileBytes(path, text, maxBytes)) return failure;
  if (!IsText(text)) {
    text.clear();
    return "Cannot read " + path + ": Not a text file";
  }
  text = SingleByteText(std::move(text));
  return std::nullopt;
}

}  // namespace app
