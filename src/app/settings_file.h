// The settings file: the main window's place and size, its view switches and the last folders
// and files of the tools, written whole when the window closes and read when it starts.
#pragma once

#include <optional>
#include <string>

namespace app {

class TIniFile;

struct TWindowSettings {
  // "[FormPos]"
  int top = 0;
  int left = 0;
  int height = 0;
  int width = 0;
  int memo1Height = 0;  // the definitions group box
  int memo2Height = 0;  // the expressions group box
  // "[View]"
  bool stayOnTop = true;
  bool userFunctions = true;
  bool errorMessage = true;
  bool currencyType = false;
  // "[Paths]": the current calculator file, or the data folder when there is none; the last
  // conversion, constants and periodic-table files.
  std::string filePath;
  std::string convFilePath;
  std::string constFilePath;
  std::string pteFilePath;
};

// What a settings file gives: every value that could be read, the rest left unset. "[FormPos]"
// counts only when it holds exactly six entries.
struct TReadSettings {
  std::optional<int> top, left, height, width, memo1Height, memo2Height;
  std::optional<int> stayOnTop, userFunctions, errorMessage, currencyType;
  std::optional<std::string> filePath, convFilePath, constFilePath, pteFilePath;
};

// The whole file, in the order "[FormPos]", "[View]", "[Paths]".
TIniFile WriteSettings(const TWindowSettings& settings);
TReadSettings ReadSettings(const TIniFile& file);

// `settings` with what `read` holds laid over it; view switches are on unless read as 0, and
// the Currency format is restored when read as 1.
TWindowSettings ApplySettings(TWindowSettings settings, const TReadSettings& read);

// An integer as the settings file writes it: optional blanks and sign, decimal digits, within
// the range of int; nothing otherwise.
std::optional<int> SettingsInteger(const std::string& text);

}  // namespace app
