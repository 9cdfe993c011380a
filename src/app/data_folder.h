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
  // An installed program (one with its shared data folder beside it, see SharedFolder) always
  // uses `userFolder`, even when it runs as root and could write into the system's folders.
  // A non-empty `chosenFolder` (the --data-dir option) overrides both.
  TDataFolder(const std::string& programPath, const std::string& userFolder,
              const std::string& chosenFolder = std::string());

  // The folder for the running program: its own file, and the per-user data folder of
  // QStandardPaths::AppDataLocation (with no application object, the generic data folder plus
  // the program's name, which is the same folder).
  static TDataFolder ForRunningProgram(const std::string& chosenFolder = std::string());

  const std::string& Folder() const { return folder_; }
  TChoice Choice() const { return choice_; }
  // The read-only folder of an installed program's default data files,
  // "<prefix>/share/calculator" for "<prefix>/bin/calculator"; empty for a program that is
  // not installed (a build tree or a portable copy).
  const std::string& SharedFolder() const { return sharedFolder_; }
  // The program's file name without its extension: "calculator".
  const std::string& ProgramName() const { return programName_; }

  // The full path of `file`, such as "/opt/calc/calculator.ini". A per-user or chosen folder
  // that does not exist yet is created here, on first use, so that a save into it can succeed;
  // when that fails the save reports why. A data file (conversion, constants, periodic table)
  // missing there is first copied from the shared folder, so that an installed program starts
  // from the defaults its package ships.
  std::string PathOf(TDataFile file) const;

  static const char* Extension(TDataFile file);

 private:
  std::string folder_;
  std::string sharedFolder_;
  std::string programName_;
  TChoice choice_ = TChoice::Program;
};

}  // namespace app
