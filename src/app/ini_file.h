// TIniFile: the one reader and writer of the calculator's sections-and-keys files (settings,
// conversion, constants and periodic-table files). It keeps sections and their lines in file
// order and values exactly as they stand, which a general settings store does not.
//
// The rules, for reading and writing alike:
// - Text is single-byte (Latin-1): the module works on bytes and never converts them.
// - Lines end with LF or CR LF when read (one CR at a line's end is dropped); every line is
//   written with CR LF. A last line without a line end is read like any other.
// - A header is a line that, trimmed of blanks, begins with "[" and ends with "]"; the section's
//   name is the text between them, trimmed. Names compare without regard to ASCII case.
// - Every other line belongs to the section above it, in order and as it stands: entries, empty
//   lines, comments and lines without "=" alike, so a file is written back as it was read.
// - An entry is a line holding "=" that is not a comment: its key is the text before the first
//   "=", its value everything after that "=", both untouched (blanks included). Lookups by key
//   trim the key's blanks and ignore ASCII case; the first matching entry counts.
// - A comment is a line whose first non-blank character is ";" or "#"; it is kept, never an
//   entry. Lines without "=" are kept too and are never entries.
// - Lines before the first header are kept and written back first; no accessor reads them as
//   entries.
// - Two headers of the same name stay two sections (so the file round-trips); lookups by name
//   find the first.
// A file this module wrote therefore reads back and writes again byte for byte.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// One "key=value" line of a section.
struct TIniEntry {
  std::string key;    // the text before the first "=", blanks kept
  std::string value;  // everything after the first "=", as it stands
};

class TIniSection {
 public:
  explicit TIniSection(std::string_view name);

  const std::string& Name() const { return name_; }
  // Every line under the header, in file order, without line ends.
  const std::vector<std::string>& Lines() const { return lines_; }
  // The entries among the lines, in file order.
  std::vector<TIniEntry> Entries() const;
  // The value of the first entry with this key.
  std::optional<std::string> Value(std::string_view key) const;

  // Appends one line as it stands: an entry, an empty line, a comment. A line break inside the
  // text becomes a blank, so that what is written reads back as one line.
  void AddLine(std::string_view line);
  // Appends key + "=" + value (line breaks become blanks, as in AddLine).
  void AddEntry(std::string_view key, std::string_view value);
  // Replaces the value of the first entry with this key, keeping its key text as written, or
  // appends the entry when there is none.
  void SetValue(std::string_view key, std::string_view value);
  // Removes every entry with this key; true when there was one.
  bool EraseKey(std::string_view key);
  void ClearLines() { lines_.clear(); }

 private:
  friend class TIniFile;  // fills lines_ while it reads
  std::string name_;
  std::vector<std::string> lines_;
};

class TIniFile {
 public:
  static constexpr std::size_t kMaxIniBytes = 8u * 1024u * 1024u;

  // The entry a line holds, or nothing for comments and lines without "=".
  static std::optional<TIniEntry> SplitEntry(std::string_view line);

  // Splits `bytes` into lines (ended by LF or CR LF, or by CR in a file without LF) and those
  // into sections.
  static TIniFile FromBytes(std::string_view bytes);
  // Reads a whole file; nothing, with `error` set to "Cannot read " + path + ": " + the system's
  // reason, when it cannot be read. Files above kMaxIniBytes are refused ("File too large"): a
  // file of empty lines that size already takes some hundred megabytes as lines. A file that is
  // not text is refused too ("Not a text file"), and UTF-8 is read as single-byte text
  // (ReadTextFile).
  static std::optional<TIniFile> FromFile(const std::string& path, std::string& error);

  // The file's bytes: the lines before the first header, then each section's header and lines,
  // every line ended by CR LF.
  std::string ToBytes() const;
  // Writes ToBytes() through SafeSave; nothing on success, else its message.
  std::optional<std::string> Save(const std::string& path) const;

  // Sections in file order. References stay valid while sections are added, not when one is
  // erased.
  const std::deque<TIniSection>& Sections() const { return sections_; }
  std::vector<std::string> SectionNames() const;
  const TIniSection* Section(std::string_view name) const;
  TIniSection* Section(std::string_view name);
  // The first section of this name, appended at the end when there is none.
  TIniSection& AddSection(std::string_view name);
  // Removes every section of this name; true when there was one.
  bool EraseSection(std::string_view name);

  // Shorthands over Section(name): the value of a key, and SetValue that adds the section when
  // it is missing.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  void SetValue(std::string_view section, std::string_view key, std::string_view value);

  const std::vector<std::string>& LinesBeforeFirstSection() const { return preamble_; }

 private:
  std::vector<std::string> preamble_;
  std::deque<TIniSection> sections_;
};

}  // namespace app
