// The calculator file: the text that keeps a whole working state (constants, function variable,
// definitions, expressions) in four brace blocks. One writer and one reader serve the files the
// user opens and saves and the entries of the history alike.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/text_file.h"

namespace app {

// One row of the constant list as the file keeps it.
struct TConstantEntry {
  std::string name;
  std::string expression;
  std::string comment;
};

// A calculator file keeps a working state a user typed, far below this size. Each byte of
// definitions costs the evaluator some eighty bytes once parsed, so a larger file is refused
// ("File too large") rather than taking many seconds and gigabytes to open.
inline constexpr std::size_t kMaxCalculatorFileBytes = 1u << 20;

// The four blocks of a calculator text, in file order.
struct TCalculatorSections {
  std::string constants;
  std::string functionVariable;
  std::string definitions;
  std::string expressions;
};

// The titles written before the blocks; the reader ignores them and takes blocks by position.
inline constexpr std::array<std::string_view, 4> kSectionTitles = {
    "Constants", "Function variable", "User definitions", "Mathematical expression"};

// The state as text (ScrieString): each line, the last "}" included, ended by CR LF. Line
// breaks inside the panes' texts are written as CR LF too.
std::string WriteCalculatorText(const std::vector<TConstantEntry>& constants,
                                const std::string& functionVariable, const std::string& definitions,
                                const std::string& expressions);

// `text` with every line break (LF, CR LF or a lone CR) written as CR LF.
std::string WithCrLf(std::string_view text);

// Why a state could not be read back as it was written: the block's title and what it holds.
struct TUnreadableText {
  std::string_view section;
  std::string what;  // such as "\"{\" or \"}\"" or "\";\" in the constant g"
};

// The first text the reader would not give back: a "{" or "}" in any block (the reader takes
// it for a block of its own), or in a constant a ";" (which ends the constant), an "=" in the
// name or the comment, or a "//" in the value (which split the constant elsewhere). Nothing
// when the state reads back as written.
std::optional<TUnreadableText> UnreadableText(const std::vector<TConstantEntry>& constants,
                                              const std::string& functionVariable,
                                              const std::string& definitions,
                                              const std::string& expressions);

// The brace-block scanner shared by calculator files, history entries and linear-system files.
// Characters inside a block go to the block numbered by the count of "{" seen (blocks past the
// last wanted one are dropped); the input is bad as soon as more blocks are closed than opened,
// and good only when exactly the wanted number was opened and closed.
class TSectionScanner {
 public:
  explicit TSectionScanner(std::size_t blocks) : sections_(blocks) {}
  // Scans more characters; false once the input is known to be bad (the scan has stopped).
  bool Scan(std::string_view characters);
  bool Inside() const { return inside_; }
  // The number of the block being read or last read (the count of "{" so far).
  std::size_t Opened() const { return opened_; }
  // The blocks' texts, untouched, when the input was good.
  std::optional<std::vector<std::string>> Result() const;

  // Feeds `bytes` line by line (LF or CR LF, or CR in a text without LF): a line that starts inside
  // a block for which `keepBreaks(block number)` holds, and is not blank, gets CR LF appended, so
  // that blocks of several lines keep their line breaks. False once the input is known to be bad.
  template <class TKeepBreaks>
  bool ScanLines(std::string_view bytes, TKeepBreaks keepBreaks);

 private:
  bool ScanLine(std::string_view line, bool keepBreak);

  std::vector<std::string> sections_;
  std::size_t opened_ = 0;
  std::size_t closed_ = 0;
  bool inside_ = false;
  bool stopped_ = false;
};

template <class TKeepBreaks>
bool TSectionScanner::ScanLines(std::string_view bytes, TKeepBreaks keepBreaks) {
  std::size_t start = 0;
  const char lineBreak = LineBreakOf(bytes);
  while (start < bytes.size()) {
    std::size_t end = bytes.find(lineBreak, start);
    const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = next;
    if (!ScanLine(line, inside_ && keepBreaks(opened_))) return false;
  }
  return !stopped_;
}

// Reads a file's bytes as CitesteFisier feeds them, line by line: a line that starts inside a
// block and is not blank gets CR LF appended, so blocks of several lines keep their breaks.
// Like ReadCalculatorText, it refuses a text that holds a NUL byte: that is no calculator text.
std::optional<TCalculatorSections> ReadCalculatorFileText(std::string_view bytes);

// Reads a history entry as CitesteString does: the whole text at once, each block trimmed.
std::optional<TCalculatorSections> ReadCalculatorText(std::string_view text);

}  // namespace app
