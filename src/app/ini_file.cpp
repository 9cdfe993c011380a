// TIniFile: splitting bytes into headers and lines, and writing them back with CR LF.
#include "app/ini_file.h"

#include <algorithm>
#include <utility>

#include "app/safe_save.h"
#include "app/text_file.h"
#include "evaluator/text_utils.h"

namespace app {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimmedView(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  return evaluator::EqualsIgnoreCase(TrimmedView(a), TrimmedView(b));
}

// The section name of a header line, or nothing for any other line.
std::optional<std::string> HeaderName(std::string_view line) {
  const std::string_view trimmed = TrimmedView(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return std::nullopt;
  return std::string(TrimmedView(trimmed.substr(1, trimmed.size() - 2)));
}

std::string OneLine(std::string_view text) {
  std::string line(text);
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return line;
}

}  // namespace

TIniSection::TIniSection(std::string_view name) : name_(TrimmedView(OneLine(name))) {}

std::vector<TIniEntry> TIniSection::Entries() const {
  std::vector<TIniEntry> entries;
  for (const std::string& line : lines_) {
    if (std::optional<TIniEntry> entry = TIniFile::SplitEntry(line)) {
      entries.push_back(std::move(*entry));
    }
  }
  return entries;
}

std::optional<std::string> TIniSection::Value(std::string_view key) const {
  for (const std::string& line : lines_) {
    std::optional<TIniEntry> entry = TIniFile::SplitEntry(line);
    if (entry && SameName(entry->key, key)) return std::move(entry->value);
  }
  return std::nullopt;
}

void TIniSection::AddLine(std::string_view line) {
  lines_.push_back(OneLine(line));
}

void TIniSection::AddEntry(std::string_view key, std::string_view value) {
  AddLine(std::string(key) + "=" + std::string(value));
}

void TIniSection::SetValue(std::string_view key, std::string_view value) {
  for (std::string& line : lines_) {
    const std::optional<TIniEntry> entry = TIniFile::SplitEntry(line);
    if (entry && SameName(entry->key, key)) {
      line = entry->key + "=" + OneLine(value);
      return;
    }
  }
  AddEntry(key, value);
}

bool TIniSection::EraseKey(std::string_view key) {
  const auto erased = std::remove_if(lines_.begin(), lines_.end(), [key](const std::string& line) {
    const std::optional<TIniEntry> entry = TIniFile::SplitEntry(line);
    return entry && SameName(entry->key, key);
  });
  const bool found = erased != lines_.end();
  lines_.erase(erased, lines_.end());
  return found;
}

std::optional<TIniEntry> TIniFile::SplitEntry(std::string_view line) {
  const std::string_view trimmed = TrimmedView(line);
  if (!trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#')) return std::nullopt;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return TIniEntry{std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))};
}

TIniFile TIniFile::FromBytes(std::string_view bytes) {
  TIniFile file;
  std::vector<std::string>* lines = &file.preamble_;
  const char lineBreak = LineBreakOf(bytes);
  while (!bytes.empty()) {
    const std::size_t end = bytes.find(lineBreak);
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (std::optional<std::string> name = HeaderName(line)) {
      lines = &file.sections_.emplace_back(*name).lines_;
    } else {
      lines->emplace_back(line);
    }
  }
  return file;
}

std::optional<TIniFile> TIniFile::FromFile(const std::string& path, std::string& error) {
  std::string bytes;
  if (std::optional<std::string> failure = ReadTextFile(path, bytes, kMaxIniBytes)) {
    error = std::move(*failure);
    return std::nullopt;
  }
  error.clear();
  return FromBytes(bytes);
}

std::string TIniFile::ToBytes() const {
  std::string bytes;
  auto put = [&bytes](std::string_view line) {
    bytes += line;
    bytes += kLineEnd;
  };
  for (const std::string& line : preamble_)
    put(line);
  for (const TIniSection& section : sections_) {
    put("[" + section.Name() + "]");
    for (const std::string& line : section.Lines())
      put(line);
  }
  return bytes;
}

std::optional<std::string> TIniFile::Save(const std::string& path) const {
  return SafeSave(path, ToBytes());
}

std::vector<std::string> TIniFile::SectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const TIniSection& section : sections_)
    names.push_back(section.Name());
  return names;
}

const TIniSection* TIniFile::Section(std::string_view name) const {
  for (const TIniSection& section : sections_) {
    if (SameName(section.Name(), name)) return &section;
  }
  return nullptr;
}

TIniSection* TIniFile::Section(std::string_view name) {
  return const_cast<TIniSection*>(std::as_const(*this).Section(name));
}

TIniSection& TIniFile::AddSection(std::string_view name) {
  if (TIniSection* existing = Section(OneLine(name))) return *existing;
  return sections_.emplace_back(name);
}

bool TIniFile::EraseSection(std::string_view name) {
  const std::size_t before = sections_.size();
  sections_.erase(std::remove_if(sections_.begin(), sections_.end(),
                                 [name](const TIniSection& s) { return SameName(s.Name(), name); }),
                  sections_.end());
  return sections_.size() != before;
}

std::optional<std::string> TIniFile::Value(std::string_view section, std::string_view key) const {
  const TIniSection* found = Section(section);
  return found == nullptr ? std::nullopt : found->Value(key);
}

void TIniFile::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  AddSection(section).SetValue(key, value);
}

}  // namespace app
