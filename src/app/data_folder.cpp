// TDataFolder: the choice between the chosen, the program's and the per-user folder.
#include "app/data_folder.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

namespace app {

namespace {

constexpr const char* kDefaultProgramName = "calculator";

std::string FromQtPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

bool IsWritableFolder(const std::string& folder) {
  std::error_code error;
  return !folder.empty() && std::filesystem::is_directory(folder, error) &&
         ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

TDataFolder::TDataFolder(const std::string& programPath, const std::string& userFolder,
                         const std::string& chosenFolder) {
  const std::filesystem::path program(programPath);
  programName_ = program.stem().string();
  if (programName_.empty()) programName_ = kDefaultProgramName;
  std::string programFolder = program.parent_path().string();
  if (programFolder.empty() && !programPath.empty()) programFolder = ".";
  if (!chosenFolder.empty()) {
    folder_ = chosenFolder;
    choice_ = TChoice::Chosen;
  } else if (IsWritableFolder(programFolder) || userFolder.empty()) {
    folder_ = programFolder;
    choice_ = TChoice::Program;
  } else {
    folder_ = userFolder;
    choice_ = TChoice::User;
  }
  while (folder_.size() > 1 && folder_.back() == '/')
    folder_.pop_back();
}

TDataFolder TDataFolder::ForRunningProgram(const std::string& chosenFolder) {
  std::string programPath;
  std::string userFolder;
  if (QCoreApplication::instance() != nullptr) {
    programPath = FromQtPath(QCoreApplication::applicationFilePath());
    userFolder = FromQtPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
  } else {
    std::error_code error;
    programPath = std::filesystem::read_symlink("/proc/self/exe", error).string();
    const std::string generic =
        FromQtPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    const std::string name = std::filesystem::path(programPath).stem().string();
    if (!generic.empty()) userFolder = generic + "/" + (name.empty() ? kDefaultProgramName : name);
  }
  return TDataFolder(programPath, userFolder, chosenFolder);
}

std::string TDataFolder::PathOf(TDataFile file) const {
  if (choice_ != TChoice::Program) {
    std::error_code ignored;
    std::filesystem::create_directories(folder_, ignored);
  }
  return folder_ + (folder_ == "/" ? "" : "/") + programName_ + Extension(file);
}

const char* TDataFolder::Extension(TDataFile file) {
  switch (file) {
    case TDataFile::Settings:
      return ".ini";
    case TDataFile::Log:
      return ".log";
    case TDataFile::Calculator:
      return ".txt";
    case TDataFile::Conversion:
      return ".cnv";
    case TDataFile::Constants:
      return ".con";
    case TDataFile::PeriodicTable:
      return ".pte";
  }
  return "";
}

}  // namespace app
