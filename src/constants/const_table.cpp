// TConstTable: the sorted lists, the ".con" reading and writing rules and the default content.
#include "constants/const_table.h"

#include <algorithm>
#include <filesystem>

#include "app/ini_file.h"
#include "evaluator/text_utils.h"

namespace constants {

namespace {

constexpr const char* kDuplicate = "Duplicates not allowed : ";
constexpr const char* kDeleteConstantsFirst = "Please delete all constants";
constexpr const char* kInvalidName = "Invalid name : ";
constexpr const char* kInvalidValue = "Invalid value : ";
constexpr const char* kDefaultCategory = "Physical constants";

// The order of both sorted lists: by name, without regard to case.
bool Before(const std::string& a, const std::string& b) {
  return evaluator::ToLowerAscii(a) < evaluator::ToLowerAscii(b);
}

template <typename T>
std::optional<std::size_t> FindIn(const std::vector<T>& items, const std::string& name) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (evaluator::EqualsIgnoreCase(items[i].Name, name)) return i;
  }
  return std::nullopt;
}

// Puts `item` where the order wants it.
template <typename T>
void InsertSorted(std::vector<T>& items, T item) {
  const auto at = std::upper_bound(items.begin(), items.end(), item,
                                   [](const T& a, const T& b) { return Before(a.Name, b.Name); });
  items.insert(at, std::move(item));
}

// A name holding "=", or a value holding "//", would read back as something else; a name
// beginning with ";" or "#" would be written as a comment line and one beginning with "[" may be
// written as a header, so that the constant is lost on the next read.
bool UnwritableName(const std::string& name) {
  return name.find('=') != std::string::npos || name.starts_with(';') || name.starts_with('#') ||
         name.starts_with('[');
}

std::optional<std::string> Unwritable(const std::string& name, const TConstRec& record) {
  if (UnwritableName(name)) return kInvalidName + name;
  if (record.Value.find("//") != std::string::npos) return kInvalidValue + record.Value;
  return std::nullopt;
}

bool IsExistingFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && !std::filesystem::path(path).filename().empty() &&
         std::filesystem::is_regular_file(path, error);
}

app::TIniFile DefaultIni() {
  app::TIniFile file;
  app::TIniSection& section = file.AddSection(kDefaultCategory);
  for (const std::string& line : TConstTable::DefaultLines())
    section.AddLine(line);
  section.AddLine("");
  return file;
}

}  // namespace

TConstTable::TConstTable(std::string defaultFile, app::TUserPrompt& prompt)
    : defaultFile_(std::move(defaultFile)), prompt_(prompt) {}

const std::vector<std::string>& TConstTable::DefaultLines() {
  static const std::vector<std::string> lines = {
      "Speed_of_light_in_vacuum = 299792458 //(m/s)",
      "Elementary_charge = 1.60217738E-019 //(C)",
      "Electron_mass = 9.1093897E-031 //(kg)",
      "Proton_mass = 1.672623E-027 //(kg)",
      "Neutron_mass = 1.6749286E-027 //(kg)",
      "Muon_mass = 1.8835326E-028 //(kg)",
      "Electron_charge_to_mass_ratio = 175881961000 //(C/kg)",
      "Permittivity_constant = 8.85418781762E-012 //(F/m)",
      "Permeability_constant = 1.25663706143E-006 //(H/m)",
      "Planck_constant = 6.6260754E-034 //(J*s)",
      "Electron_Compton_wavelength = 2.42631058E-012 //(m)",
      "Universal_gas_constant = 8.31451 //(J/mol*K)",
      "Avogadro_constant = 6.0221367E+023 //(1/mol)",
      "Boltzmann_constant = 1.380657E-023 //(J/K)",
      "Molar_volume_of_ideal_gas_at_STP = 0.02241409 //(m^3/mol)",
      "Faraday_constant = 96485.309 //(C/mol)",
      "Stefan_Boltzmann_constant = 5.6705E-008 //(W/m^2*K^4)",
      "Rydberg_constant = 10973731.534 // (1/m)",
      "Gravitational_constant = 6.6726E-011 // (m^3/s^2*kg)",
      "Bohr_radius = 5.29177249E-011 // (m)",
      "Electron_magnetic_moment = 9.28477E-024 //(J/T)",
      "Proton_magnetic_moment = 1.41060761E-026 //(J/T)",
      "Bohr_magneton = 9.2740154E-024 //(J/T)",
      "Nuclear_magneton = 5.0507865E-027 //(J/T)",
  };
  return lines;
}

std::optional<std::size_t> TConstTable::FindCategory(const std::string& name) const {
  return FindIn(categories_, evaluator::TrimBlanks(name));
}

std::optional<std::size_t> TConstTable::FindConstant(std::size_t category,
                                                     const std::string& name) const {
  if (category >= categories_.size()) return std::nullopt;
  return FindIn(categories_[category].Constants, evaluator::TrimBlanks(name));
}

std::optional<std::string> TConstTable::AddCategory(const std::string& rawName) {
  const std::string name = evaluator::TrimBlanks(rawName);
  if (FindCategory(name)) return kDuplicate + name;
  InsertSorted(categories_, TConstCategory{name, {}});
  return std::nullopt;
}

std::optional<std::string> TConstTable::RenameCategory(std::size_t category,
                                                       const std::string& rawName) {
  if (category >= categories_.size()) return std::nullopt;
  const std::string name = evaluator::TrimBlanks(rawName);
  const std::optional<std::size_t> clash = FindCategory(name);
  if (clash && *clash != category) return kDuplicate + name;
  TConstCategory renamed = std::move(categories_[category]);
  categories_.erase(categories_.begin() + static_cast<std::ptrdiff_t>(category));
  renamed.Name = name;
  InsertSorted(categories_, std::move(renamed));
  return std::nullopt;
}

std::optional<std::string> TConstTable::DeleteCategory(std::size_t category) {
  if (category >= categories_.size()) return std::nullopt;
  if (!categories_[category].Constants.empty()) return std::string(kDeleteConstantsFirst);
  categories_.erase(categories_.begin() + static_cast<std::ptrdiff_t>(category));
  return std::nullopt;
}

std::optional<std::string> TConstTable::AddConstant(std::size_t category,
                                                    const std::string& rawName,
                                                    const TConstRec& record) {
  if (category >= categories_.size()) return std::nullopt;
  const std::string name = evaluator::TrimBlanks(rawName);
  if (std::optional<std::string> refusal = Unwritable(name, record)) return refusal;
  if (FindConstant(category, name)) return kDuplicate + name;
  InsertSorted(categories_[category].Constants, TConstEntry{name, record});
  return std::nullopt;
}

std::optional<std::string> TConstTable::EditConstant(std::size_t category, std::size_t index,
                                                     const std::string& rawName,
                                                     const TConstRec& record) {
  if (category >= categories_.size() || index >= categories_[category].Constants.size()) {
    return std::nullopt;
  }
  const std::string name = evaluator::TrimBlanks(rawName);
  if (std::optional<std::string> refusal = Unwritable(name, record)) return refusal;
  const std::optional<std::size_t> clash = FindConstant(category, name);
  if (clash && *clash != index) return kDuplicate + name;
  std::vector<TConstEntry>& constants = categories_[category].Constants;
  constants.erase(constants.begin() + static_cast<std::ptrdiff_t>(index));
  InsertSorted(constants, TConstEntry{name, record});
  return std::nullopt;
}

void TConstTable::DeleteConstants(std::size_t category, std::size_t index, std::size_t count) {
  if (category >= categories_.size()) return;
  std::vector<TConstEntry>& constants = categories_[category].Constants;
  if (index >= constants.size()) return;
  count = std::min(count, constants.size() - index);
  const auto first = constants.begin() + static_cast<std::ptrdiff_t>(index);
  constants.erase(first, first + static_cast<std::ptrdiff_t>(count));
}

app::TIniFile TConstTable::ToIni() const {
  app::TIniFile file;
  for (const TConstCategory& category : categories_) {
    app::TIniSection& section = file.AddSection(category.Name);
    for (const TConstEntry& constant : category.Constants) {
      section.AddLine(constant.Name + "=" + constant.Record.Value + " //" +
                      constant.Record.Description);
    }
    section.AddLine("");
  }
  return file;
}

void TConstTable::FromIni(const app::TIniFile& file) {
  categories_.clear();
  for (const app::TIniSection& section : file.Sections()) {
    // A category given twice gathers the constants of both; the first of a name counts.
    std::optional<std::size_t> category = FindCategory(section.Name());
    if (!category) {
      if (evaluator::TrimBlanks(section.Name()).empty()) continue;
      AddCategory(section.Name());
      category = FindCategory(section.Name());
    }
    for (app::TIniEntry entry : section.Entries()) {
      // A lone CR is kept in a line by the file module but written as a blank by AddLine: it is
      // taken as the blank here, so that two names that would become one are found now.
      for (std::string* text : {&entry.key, &entry.value}) {
        std::replace(text->begin(), text->end(), '\r', ' ');
      }
      const std::string name = evaluator::TrimBlanks(entry.key);
      // A key that only the trimming of control characters made such a name is not kept: the
      // table could not write it back.
      if (name.empty() || UnwritableName(name) || FindConstant(*category, name)) continue;
      const std::size_t comment = entry.value.find("//");
      TConstRec record;
      record.Value = evaluator::TrimBlanks(entry.value.substr(0, comment));
      if (comment != std::string::npos) record.Description = entry.value.substr(comment + 2);
      InsertSorted(categories_[*category].Constants, TConstEntry{name, record});
    }
  }
}

bool TConstTable::ReadFromConstFile() {
  Loaded = false;
  std::string path = ConstFilePath;
  if (!IsExistingFile(path)) path = defaultFile_;
  if (!IsExistingFile(path)) {
    ConstFilePath.clear();
    return false;
  }
  ConstFilePath = path;
  std::string error;
  const std::optional<app::TIniFile> file = app::TIniFile::FromFile(path, error);
  if (!file) {
    // The table keeps what it held.
    prompt_.Message(error);
    return false;
  }
  FromIni(*file);
  Loaded = true;
  return true;
}

bool TConstTable::WriteToConstFile() {
  if (!Loaded) return false;
  if (const std::optional<std::string> error = ToIni().Save(ConstFilePath)) {
    prompt_.Message(*error);
    return false;
  }
  return true;
}

bool TConstTable::WriteToDefConstFile() {
  if (const std::optional<std::string> error = DefaultIni().Save(defaultFile_)) {
    prompt_.Message(*error);
    return false;
  }
  ConstFilePath = defaultFile_;
  return true;
}

void TConstTable::LoadAtStart() {
  ReadFromConstFile();
  if (!ConstFilePath.empty()) return;
  if (WriteToDefConstFile()) {
    ReadFromConstFile();
  } else {
    FromIni(DefaultIni());
  }
}

}  // namespace constants
