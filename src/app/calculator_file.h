// The calculator file: the text that keeps a whole working state (constants, function variable,
// definitions, expressions) in four brace blocks. One writer and one reader serve the files the
// user opens and saves and the entries of the history alike.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// One row of the constant list as the file keeps it.
struct TConstantEntry {
  std::string name;
  std::string expression;
  std::string comment;
};

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

// The title of the first block whose text holds "{" or "}", which the reader would take for a
// block of its own, so that the text could never be read back; nothing when there is none.
std::optional<std::string_view> SectionWithBrace(const std::vector<TConstantEntry>& constants,
                                                 const std::string& functionVariable,
                                                 const std::string& definitions,
                                                 const std::string& expressions);

// The brace-block scanner shared by files and history entries. Characters inside a block go to
// the block numbered by the count of "{" seen (blocks past the fourth are dropped); the input is
// bad as soon as more blocks are closed than opened, and good only with exactly four of each.
class TSectionScanner {
 public:
  // Scans more characters; false once the input is known to be bad (the scan has stopped).
  bool Scan(std::string_view characters);
  bool Inside() const { return inside_; }
  // The four blocks' texts, untouched, when the input was good.
  std::optional<TCalculatorSections> Result() const;

 private:
  std::array<std::string, 4> sections_{};
  int opened_ = 0;
  int closed_ = 0;
  bool inside_ = false;
  bool stopped_ = false;
};

// Reads a file's bytes as CitesteFisier feeds them, line by line: a line that starts inside a
// block and is not blank gets CR LF appended, so blocks of several lines keep their breaks.
std::optional<TCalculatorSections> ReadCalculatorFileText(std::string_view bytes);

// Reads a history entry as CitesteString does: the whole text at once, each block trimmed.
std::optional<TCalculatorSections> ReadCalculatorText(std::string_view text);

}  // namespace app
