// What makes a file a text file for the calculator's readers, and the reading of one. The files
// are single-byte text; a file that holds a NUL byte (a program, an image, UTF-16 text) is none,
// and a file another editor wrote as UTF-8 is turned into the same single-byte characters.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/safe_save.h"

namespace app {

// False when `bytes` hold a NUL byte, which no text of the calculator does.
bool IsText(std::string_view bytes);

// The character that ends the lines of `text`: LF (a CR before it belongs to the line end), or CR
// in a text without any LF, as old Macintosh files end their lines. A lone CR in a text that has
// LFs stays a character of its line.
inline char LineBreakOf(std::string_view text) {
  return text.find('\n') == std::string_view::npos ? '\r' : '\n';
}

// `bytes` as single-byte (Latin-1) text. Valid UTF-8 that holds characters beyond ASCII, all of
// which exist in Latin-1, becomes those characters ("é" as one byte rather than two), without a
// leading byte-order mark; any other text stays byte for byte.
std::string SingleByteText(std::string bytes);

// Reads the text file `path` into `text` as ReadFileBytes does, then made single-byte. A file
// that is not text is refused with "Cannot read " + path + ": Not a text file", `text` empty.
std::optional<std::string> ReadTextFile(const std::string& path, std::string& text,
                                        std::size_t maxBytes = kMaxReadBytes);

}  // namespace app
