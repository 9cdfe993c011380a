// TPeriodicTable: filling the grid, finding elements, and the property lists of a ".pte" file.
#include "periodic/periodic_table.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "app/ini_file.h"
#include "app/safe_save.h"
#include "app/user_prompt.h"

namespace periodic {

const std::array<const char*, kBuiltInPropertyCount> kBuiltInPropertyNames = {
    "Atomic Weight", "Melting Point", "Boiling Point", "Density"};
const std::array<const char*, kBuiltInPropertyCount> kBuiltInPropertyUnits = {"amu", "C", "C",
                                                                              "kg/cu.m"};

namespace {

constexpr int kFirstLanthanoid = 58;
constexpr int kFirstActinoid = 90;
constexpr int kSeriesFirstColumn = 3;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool HasId(const TPropertyList& list, std::int32_t id) {
  return std::any_of(list.begin(), list.end(),
                     [id](const TPropertyEntry& entry) { return entry.Id == id; });
}

std::string InvalidKeyMessage(const std::string& key) {
  return "'" + key + "' is not a valid integer value";
}

// Appends every entry of the section `name` (none when it is missing) to `list`; the message
// of the first bad key, if any.
std::optional<std::string> AppendLines(const app::TIniFile& file, const std::string& name,
                                       TPropertyList& list) {
  const app::TIniSection* section = file.Section(name);
  if (section == nullptr) return std::nullopt;
  for (const app::TIniEntry& entry : section->Entries()) {
    const std::optional<std::int32_t> id = PropertyKey(entry.key);
    if (!id) return InvalidKeyMessage(entry.key);
    list.push_back({*id, entry.value});
  }
  return std::nullopt;
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::path(path).has_filename() &&
         std::filesystem::is_regular_file(path, error);
}

}  // namespace

TCellPosition PositionOf(const TElementRec& element) {
  if (element.Group != 0) return {element.Period, element.Group - 1};
  if (element.Number >= kFirstActinoid) {
    return {kActinoidRow, element.Number - kFirstActinoid + kSeriesFirstColumn};
  }
  return {kLanthanoidRow, element.Number - kFirstLanthanoid + kSeriesFirstColumn};
}

std::optional<std::int32_t> PropertyKey(const std::string& text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  auto begin = std::find_if_not(text.begin(), text.end(), blank);
  auto end = std::find_if_not(text.rbegin(), std::make_reverse_iterator(begin), blank).base();
  if (begin != end && *begin == '+') {  // from_chars takes "-" but not "+"
    ++begin;
    if (begin != end && (*begin == '-' || *begin == '+')) return std::nullopt;
  }
  if (begin == end) return std::nullopt;
  std::int32_t value = 0;
  const char* first = &*begin;
  const char* last = first + (end - begin);
  const auto [stop, error] = std::from_chars(first, last, value);
  if (error != std::errc() || stop != last) return std::nullopt;
  return value;
}

TPeriodicTable::TPeriodicTable() {
  for (const TElementRec& element : BuiltInElements()) {
    const TCellPosition position = PositionOf(element);
    ElementGrid[position.Row][position.Column] = element;
  }
}

std::optional<TCellPosition> TPeriodicTable::Find(const std::string& symbolOrNumber) const {
  const std::optional<std::int32_t> number = PropertyKey(symbolOrNumber);
  const std::string lower = Lower(symbolOrNumber);
  std::optional<TCellPosition> caseless;
  for (int row = 0; row < kGridRows; ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      const TElementRec& cell = ElementGrid[row][column];
      if (cell.Empty()) continue;
      if (number ? cell.Number == *number : cell.Symbol == symbolOrNumber) {
        return TCellPosition{row, column};
      }
      if (!number && !caseless && Lower(cell.Symbol) == lower) caseless = {row, column};
    }
  }
  return caseless;
}

void TPeriodicTable::ClearProperties() {
  PropertyNames.clear();
  PropertyUnits.clear();
  for (auto& row : ElementGrid) {
    for (TElementRec& cell : row)
      cell.Values.clear();
  }
}

std::string TPeriodicTable::DefaultFileText() const {
  constexpr const char* kEnd = "\r\n";
  std::string text = "[Properties]\r\n";
  for (int k = 0; k < kBuiltInPropertyCount; ++k) {
    text += std::to_string(k + 1) + "=" + kBuiltInPropertyNames[k] + kEnd;
  }
  text += "\r\n[Units]\r\n";
  for (int k = 0; k < kBuiltInPropertyCount; ++k) {
    text += std::to_string(k + 1) + "=" + kBuiltInPropertyUnits[k] + kEnd;
  }
  text += kEnd;
  for (const auto& row : ElementGrid) {
    for (const TElementRec& cell : row) {
      if (cell.Empty()) continue;
      text += "[" + cell.Symbol + "]" + kEnd;
      for (int k = 0; k < kBuiltInPropertyCount; ++k) {
        text += std::to_string(k + 1) + "=" + cell.Properties[k] + kEnd;
      }
      text += kEnd;
    }
  }
  return text;
}

std::optional<std::string> TPeriodicTable::LoadSections(const app::TIniFile& file) {
  TPeriodicTable loaded = *this;
  if (auto error = loaded.ReadSections(file)) return error;
  *this = std::move(loaded);
  return std::nullopt;
}

std::optional<std::string> TPeriodicTable::ReadSections(const app::TIniFile& file) {
  ClearProperties();
  if (auto error = AppendLines(file, "Properties", PropertyNames)) return error;
  for (int k = 1; k <= kBuiltInPropertyCount; ++k) {
    bool found = false;
    for (TPropertyEntry& entry : PropertyNames) {
      if (entry.Id != k) continue;
      entry.Text = kBuiltInPropertyNames[k - 1];
      found = true;
    }
    if (!found) PropertyNames.push_back({k, kBuiltInPropertyNames[k - 1]});
  }
  if (auto error = AppendLines(file, "Units", PropertyUnits)) return error;
  for (auto& row : ElementGrid) {
    for (TElementRec& cell : row) {
      if (cell.Empty()) continue;
      if (auto error = AppendLines(file, cell.Symbol, cell.Values)) return error;
      for (int k = 1; k <= kBuiltInPropertyCount; ++k) {
        if (!HasId(cell.Values, k)) cell.Values.push_back({k, cell.Properties[k - 1]});
      }
    }
  }
  return std::nullopt;
}

std::optional<std::string> TPeriodicTable::LoadFile(const std::string& path) {
  std::string error;
  const std::optional<app::TIniFile> file = app::TIniFile::FromFile(path, error);
  if (!file) return error;
  return LoadSections(*file);
}

void TPeriodicTable::LoadBuiltInProperties() {
  LoadSections(app::TIniFile::FromBytes(DefaultFileText()));
}

std::optional<std::string> TPeriodicTable::WriteToDefPTEFile(const std::string& path) const {
  return app::SafeSave(path, DefaultFileText());
}

TPeriodicTable::TReadState TPeriodicTable::ReadFromPTEFile(std::string& pteFilePath,
                                                           const std::string& defaultPath,
                                                           app::TUserPrompt& prompt) {
  const std::string path = IsFile(pteFilePath) ? pteFilePath : defaultPath;
  if (!IsFile(path)) {
    pteFilePath.clear();
    return {};
  }
  pteFilePath = path;
  if (const std::optional<std::string> error = LoadFile(path)) {
    prompt.Message(*error);
    return {};
  }
  return {true, path};
}

}  // namespace periodic
