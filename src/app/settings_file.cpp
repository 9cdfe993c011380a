// Writing and reading the settings file.
#include "app/settings_file.h"

#include <utility>
#include <vector>

#include "app/ini_file.h"
#include "evaluator/text_utils.h"

namespace app {

namespace {

constexpr const char* kFormPos = "FormPos";
constexpr const char* kView = "View";
constexpr const char* kPaths = "Paths";

// The integer keys and where they go, in the order they are written.
std::vector<std::pair<const char*, int TWindowSettings::*>> FormPosKeys() {
  return {{"Top", &TWindowSettings::top},
          {"Left", &TWindowSettings::left},
          {"Height", &TWindowSettings::height},
          {"Width", &TWindowSettings::width},
          {"Memo1Height", &TWindowSettings::memo1Height},
          {"Memo2Height", &TWindowSettings::memo2Height}};
}

std::vector<std::pair<const char*, bool TWindowSettings::*>> ViewKeys() {
  return {{"StayOnTop", &TWindowSettings::stayOnTop},
          {"UserFunctions", &TWindowSettings::userFunctions},
          {"ErrorMessage", &TWindowSettings::errorMessage},
          {"CurrencyType", &TWindowSettings::currencyType}};
}

std::vector<std::pair<const char*, std::string TWindowSettings::*>> PathKeys() {
  return {{"FilePath", &TWindowSettings::filePath},
          {"ConvFilePath", &TWindowSettings::convFilePath},
          {"ConstFilePath", &TWindowSettings::constFilePath},
          {"PTEFilePath", &TWindowSettings::pteFilePath}};
}

}  // namespace

std::optional<int> SettingsInteger(const std::string& text) {
  const std::string trimmed = evaluator::TrimBlanks(text);
  std::string_view digits = trimmed;
  const bool negative = !digits.empty() && digits.front() == '-';
  if (!digits.empty() && (digits.front() == '+' || negative)) digits.remove_prefix(1);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  long long value = 0;
  for (const char c : digits) {
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<int>(value);
}

TIniFile WriteSettings(const TWindowSettings& settings) {
  TIniFile file;
  TIniSection& formPos = file.AddSection(kFormPos);
  for (const auto& [key, field] : FormPosKeys())
    formPos.AddEntry(key, std::to_string(settings.*field));
  TIniSection& view = file.AddSection(kView);
  for (const auto& [key, field] : ViewKeys())
    view.AddEntry(key, settings.*field ? "1" : "0");
  TIniSection& paths = file.AddSection(kPaths);
  for (const auto& [key, field] : PathKeys())
    paths.AddEntry(key, settings.*field);
  return file;
}

TReadSettings ReadSettings(const TIniFile& file) {
  TReadSettings read;
  std::optional<int> TReadSettings::*const formPos[] = {
      &TReadSettings::top,   &TReadSettings::left,        &TReadSettings::height,
      &TReadSettings::width, &TReadSettings::memo1Height, &TReadSettings::memo2Height};
  std::optional<int> TReadSettings::*const view[] = {
      &TReadSettings::stayOnTop, &TReadSettings::userFunctions, &TReadSettings::errorMessage,
      &TReadSettings::currencyType};
  std::optional<std::string> TReadSettings::*const paths[] = {
      &TReadSettings::filePath, &TReadSettings::convFilePath, &TReadSettings::constFilePath,
      &TReadSettings::pteFilePath};

  const TIniSection* position = file.Section(kFormPos);
  if (position != nullptr && position->Entries().size() == 6) {
    const auto keys = FormPosKeys();
    for (std::size_t k = 0; k < keys.size(); ++k) {
      if (const auto value = position->Value(keys[k].first)) {
        read.*formPos[k] = SettingsInteger(*value);
      }
    }
  }
  if (const TIniSection* section = file.Section(kView)) {
    const auto keys = ViewKeys();
    for (std::size_t k = 0; k < keys.size(); ++k) {
      if (const auto value = section->Value(keys[k].first)) read.*view[k] = SettingsInteger(*value);
    }
  }
  if (const TIniSection* section = file.Section(kPaths)) {
    const auto keys = PathKeys();
    for (std::size_t k = 0; k < keys.size(); ++k)
      read.*paths[k] = section->Value(keys[k].first);
  }
  return read;
}

TWindowSettings ApplySettings(TWindowSettings settings, const TReadSettings& read) {
  settings.top = read.top.value_or(settings.top);
  settings.left = read.left.value_or(settings.left);
  settings.height = read.height.value_or(settings.height);
  settings.width = read.width.value_or(settings.width);
  settings.memo1Height = read.memo1Height.value_or(settings.memo1Height);
  settings.memo2Height = read.memo2Height.value_or(settings.memo2Height);
  if (read.stayOnTop) settings.stayOnTop = *read.stayOnTop != 0;
  if (read.userFunctions) settings.userFunctions = *read.userFunctions != 0;
  if (read.errorMessage) settings.errorMessage = *read.errorMessage != 0;
  if (read.currencyType) settings.currencyType = *read.currencyType == 1;
  settings.filePath = read.filePath.value_or(settings.filePath);
  settings.convFilePath = read.convFilePath.value_or(settings.convFilePath);
  settings.constFilePath = read.constFilePath.value_or(settings.constFilePath);
  settings.pteFilePath = read.pteFilePath.value_or(settings.pteFilePath);
  return settings;
}

}  // namespace app
