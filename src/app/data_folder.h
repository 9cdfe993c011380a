// TDataFolder: where the calculator's own files live. It is the only place that builds their
// paths: every reader and writer of the settings, log, default calculator, conversion, constants
// and periodic-table files asks it.
#pragma once

#include <string>

namespace app {

// The calculator's own files; each is named after the program with its own extension.
enum class TDataFile {
  Settings,       // ".ini"
  Log,            // ".log"
  Calculator,     // ".txt", the default calculator file
  Conversion,     // ".cnv"
  Constants,      // ".con"
  PeriodicTable,  // ".pte"
};

class TDataFolder {
 public:
  // Which rule chose the folder.
  enum class TChoice { Chosen, Program, User };

  // `programPath` is the running program's file, whose folder holds the files when it is
  // writable (a portable install); otherwise `userFolder`, the per-user data folder, does.
  // A non-empty `chosenFolder` (the --data-dir option) overrides both.
  TDataFolder(const std::string& programPath, const std::string& userFolder,
              const std::string& chosenFolder = std::string());

  // The folder for the running program: its own file, and the per-user data folder of
  // QStandardPaths::AppDataLocation (with no application object, the generic data folder plus
  // the program's name, which is the same folder).
  static TDataFolder ForRunningProgram(const std::string& chosenFolder = std::string());

  const std::string& Folder() const { return folder_; }
  TChoice Choice() const { return choice_; }
  // The program's file name without its extension: "calculator".
  const std::string& ProgramName() const { return programName_; }

  // The full path of `file`, such as "/opt/calc/calculator.ini". A per-user or chosen folder
  // that does not exist yet is created here, on first use, so that a save into it can succeed;
  // when that fails the save reports why.
  std::string PathOf(TDataFile file) const;

  static const char* Extension(TDataFile file);

 private:
  std::string folder_;
  std::string programName_;
  TChoice choice_ = TChoice::Program;
};

}  // namespace app
