// The damaged forms of a good file that the malformed-file suites of every reader share: a file
// cut short, line ends of another system, bytes that are no text, and very long lines.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace app {

// `good` cut after each of its lines but the last, as a full disk or a broken copy leaves it,
// each with its name ("cut after line 1", ...).
inline std::vector<std::pair<std::string, std::string>> CutsAfterEachLine(const std::string& good) {
  std::vector<std::pair<std::string, std::string>> cuts;
  int line = 0;
  for (std::size_t end = good.find('\n'); end != std::string::npos && end + 1 < good.size();
       end = good.find('\n', end + 1)) {
    cuts.emplace_back("cut after line " + std::to_string(++line), good.substr(0, end + 1));
  }
  return cuts;
}

// `text` with every CR LF written as a lone CR, as old Macintosh files end their lines.
inline std::string WithCrOnly(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
    text.erase(at + 1, 1);
  return text;
}

// `text` with a NUL byte in its middle.
inline std::string WithNul(std::string text) {
  text.insert(text.size() / 2, 1, '\0');
  return text;
}

// The first bytes of a PNG image, which a user may open by mistake.
inline const std::string kImageBytes(
    "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0", 29);

// A line's worth of characters for the 1 MB lines.
inline constexpr std::size_t kMegabyte = 1u << 20;

}  // namespace app
