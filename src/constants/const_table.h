// TConstTable: the constants definition table, a library of ready-made constants grouped in
// categories and kept in a ".con" file. Categories and the constants of each are sorted and
// compared without regard to case; a duplicate is refused.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/user_prompt.h"

namespace app {
class TIniFile;
}

namespace constants {

// A constant of the table: its value as text (an expression when it is copied into the
// constant list) and a free description.
struct TConstRec {
  std::string Value;
  std::string Description;
};

struct TConstEntry {
  std::string Name;
  TConstRec Record;
};

struct TConstCategory {
  std::string Name;
  std::vector<TConstEntry> Constants;  // sorted by name
};

// The file filter of both file dialogs of the table window.
inline constexpr const char* kConstFileFilter =
    "Conversion files (*.con)|*.con|Text files (*.txt)|*.txt|All files (*.)|*.";

class TConstTable {
 public:
  // `defaultFile` is where the default ".con" file lives; `prompt` shows read and write
  // failures. Both must outlive the table.
  TConstTable(std::string defaultFile, app::TUserPrompt& prompt);

  // ---- The sorted lists -------------------------------------------------------------------
  const std::vector<TConstCategory>& Categories() const { return categories_; }
  // The index of a category or of a constant in its category, compared without regard to
  // case; nothing when there is none.
  std::optional<std::size_t> FindCategory(const std::string& name) const;
  std::optional<std::size_t> FindConstant(std::size_t category, const std::string& name) const;

  // Each returns nothing on success, or the refusal's text; a refusal changes nothing.
  std::optional<std::string> AddCategory(const std::string& name);
  std::optional<std::string> RenameCategory(std::size_t category, const std::string& name);
  // Only an empty category can go ("Please delete all constants").
  std::optional<std::string> DeleteCategory(std::size_t category);
  std::optional<std::string> AddConstant(std::size_t category, const std::string& name,
                                         const TConstRec& record);
  // Gives constant `index` of the category the new record and files it under `name`.
  std::optional<std::string> EditConstant(std::size_t category, std::size_t index,
                                          const std::string& name, const TConstRec& record);
  // Deletes `count` constants from `index` (0-based), cut at the category's last constant.
  void DeleteConstants(std::size_t category, std::size_t index, std::size_t count);
  // FreeStringList: drops every category and constant.
  void FreeStringList() { categories_.clear(); }

  // ---- The file -----------------------------------------------------------------------------
  // The file the table reads and writes; empty when none could be found.
  std::string ConstFilePath;
  // Set by a successful read, and by opening or saving under a chosen name.
  bool Loaded = false;

  // Loads ConstFilePath, or the default file when that names no existing file. When neither
  // exists ConstFilePath becomes empty and the table stays empty. True when a file was read.
  bool ReadFromConstFile();
  // Writes the table to ConstFilePath; does nothing unless the table is loaded. True when it
  // was written.
  bool WriteToConstFile();
  // Writes the default content to the default file and makes that file ConstFilePath.
  bool WriteToDefConstFile();
  // What the table window does when it is created: read the file, or write the default file
  // and read that. When even the default file cannot be written the default content is shown
  // all the same, not loaded, so that nothing is written anywhere unasked.
  void LoadAtStart();
  const std::string& DefaultFile() const { return defaultFile_; }

  // The table as the ".con" file holds it, and the table a ".con" file describes.
  app::TIniFile ToIni() const;
  void FromIni(const app::TIniFile& file);

  // The 24 lines of the default category "Physical constants".
  static const std::vector<std::string>& DefaultLines();

 private:
  std::string defaultFile_;
  app::TUserPrompt& prompt_;
  std::vector<TConstCategory> categories_;
};

}  // namespace constants
