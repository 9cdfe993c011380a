// Reading and writing ".cnv" files.
#include "conversion/conversion_file.h"

#include <utility>
#include <vector>

#include "app/ini_file.h"
#include "app/safe_save.h"

namespace conversion {

namespace {

app::TIniFile ToIni(const std::vector<TCnvSection>& sections, bool emptyLineAfterEach) {
  app::TIniFile ini;
  for (const TCnvSection& section : sections) {
    app::TIniSection& written = ini.AddSection(section.name);
    for (std::size_t k = 0; k < section.values.size(); ++k) {
      written.AddEntry(std::to_string(k + 1), section.values[k]);
    }
    if (emptyLineAfterEach) written.AddLine("");
  }
  return ini;
}

}  // namespace

std::optional<std::string> ReadConvFile(const std::string& path, TCategoryList& table) {
  std::string error;
  const std::optional<app::TIniFile> ini = app::TIniFile::FromFile(path, error);
  if (!ini) return error;
  std::vector<TCnvSection> sections;
  for (const app::TIniSection& section : ini->Sections()) {
    TCnvSection read{section.Name(), {}};
    for (app::TIniEntry& entry : section.Entries())
      read.values.push_back(std::move(entry.value));
    sections.push_back(std::move(read));
  }
  return ReadSections(sections, table);
}

std::optional<std::string> WriteConvFile(const std::string& path, const TCategoryList& table) {
  return ToIni(WriteSections(table), false).Save(path);
}

std::string DefaultConvFileBytes() {
  return ToIni(DefaultSections(), true).ToBytes();
}

std::optional<std::string> WriteDefaultConvFile(const std::string& path) {
  return app::SafeSave(path, DefaultConvFileBytes());
}

}  // namespace conversion
