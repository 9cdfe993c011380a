// TDataFolder: the choice between the chosen, the program's and the per-user folder.
#include "app/data_folder.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "app/safe_save.h"

namespace app {

namespace {

constexpr const char* kDefaultProgramName = "calculator";

// Where the installed data files are, seen from the program's folder ("../share" for the
// usual bin and share folders of one prefix); the build sets it from the install layout.
#ifndef CALC_SHARED_DATA_FROM_PROGRAM
#define CALC_SHARED_DATA_FROM_PROGRAM "../share"
#endif

std::string FromQtPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

bool IsWritableFolder(const std::string& folder) {
  std::error_code error;
  return !folder.empty() && std::filesystem::is_directory(folder, error) &&
         ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// The installed data folder beside the program, when there is one.
std::string SharedFolderOf(const std::string& programFolder, const std::string& programName) {
  if (programFolder.empty()) return {};
  std::error_code error;
  const std::filesystem::path shared =
      std::filesystem::path(programFolder) / CALC_SHARED_DATA_FROM_PROGRAM / programName;
  if (!std::filesystem::is_directory(shared, error)) return {};
  const std::filesystem::path normal = std::filesystem::weakly_canonical(shared, error);
  return error ? shared.lexically_normal().string() : normal.string();
}

bool IsSeededFromSharedFolder(TDataFile file) {
  return file == TDataFile::Conversion || file == TDataFile::Constants ||
         file == TDataFile::PeriodicTable;
}

}  // namespace

TDataFolder::TDataFolder(const std::string& programPath, const std::string& userFolder,
                         const std::string& chosenFolder) {
  const std::filesystem::path program(programPath);
  programName_ = program.stem().string();
  if (programName_.empty()) programName_ = kDefaultProgramName;
  std::string programFolder = program.parent_path().string();
  if (programFolder.empty() && !programPath.empty()) programFolder = ".";
  sharedFolder_ = SharedFolderOf(programFolder, programName_);
  const bool installed = !sharedFolder_.empty();
  if (!chosenFolder.empty()) {
    folder_ = chosenFolder;
    choice_ = TChoice::Chosen;
  } else if (userFolder.empty() || (!installed && IsWritableFolder(programFolder))) {
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
  const std::string name = programName_ + Extension(file);
  const std::string path = folder_ + (folder_ == "/" ? "" : "/") + name;
  if (choice_ == TChoice::Program) return path;
  std::error_code ignored;
  std::filesystem::create_directories(folder_, ignored);
  if (!sharedFolder_.empty() && IsSeededFromSharedFolder(file) &&
      !std::filesystem::exists(path, ignored)) {
    // Through the safe save, so that an interrupted copy never leaves a half file that would
    // then be read as the user's own. A copy that fails leaves the file missing, which the
    // readers answer with the built-in defaults, as for a program that ships none.
    std::string bytes;
    if (!ReadFileBytes(sharedFolder_ + "/" + name, bytes)) SafeSave(path, bytes);
  }
  return path;
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
