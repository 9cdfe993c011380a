// The linear system file (".sle"): the variables and the equations in two brace blocks, written
// and read as single-byte text with CR LF line ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace linsys {

inline constexpr std::string_view kBadFileFormat = "Bad file format";
inline constexpr std::string_view kVariablesTitle = "List of variables";
inline constexpr std::string_view kEquationsTitle = "System of linear equatins";

// The two texts a file keeps, in the form the window's memos hold them.
struct TSleTexts {
  std::string variables;
  // Lines separated by "\n".
  std::string equations;
};

// The file's bytes: the variables text trimmed and on one line, the equations text with its
// line breaks written as CR LF.
std::string WriteSleText(const std::string& variables, const std::string& equations);

// The title of the block whose text holds "{" or "}", which the reader would take for a block
// of its own, so that the file could never be read back; nothing when there is none.
std::optional<std::string_view> SleBlockWithBrace(const std::string& variables,
                                                  const std::string& equations);

// Reads a file's bytes: text outside the braces is ignored; the first block's characters are
// the variables (blanks and line breaks removed), the second block's non-blank lines the
// equations. Nothing when the blocks are not exactly two, or one closes before it opens.
std::optional<TSleTexts> ReadSleText(std::string_view bytes);

}  // namespace linsys
