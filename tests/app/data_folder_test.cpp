// Where the calculator's own files live: the program's folder when writable, else the per-user
// folder, and the folder --data-dir names above both.
#include "app/data_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "temp_folder.h"

namespace app {
namespace {

TEST(DataFolder, AWritableProgramFolderHoldsTheFilesNamedAfterTheProgram) {
  TTempFolder folder;
  const TDataFolder data(folder / "calculator", folder / "user");
  EXPECT_EQ(data.Choice(), TDataFolder::TChoice::Program);
  EXPECT_EQ(data.Folder(), folder.Path());
  const std::pair<TDataFile, const char*> files[] = {
      {TDataFile::Settings, "calculator.ini"},   {TDataFile::Log, "calculator.log"},
      {TDataFile::Calculator, "calculator.txt"}, {TDataFile::Conversion, "calculator.cnv"},
      {TDataFile::Constants, "calculator.con"},  {TDataFile::PeriodicTable, "calculator.pte"}};
  for (const auto& [file, name] : files)
    EXPECT_EQ(data.PathOf(file), folder / name);
  EXPECT_FALSE(std::filesystem::exists(folder / "user")) << "the per-user folder is not made";

  EXPECT_EQ(TDataFolder(folder / "mycalc.bin", "").PathOf(TDataFile::Constants),
            folder / "mycalc.con");
}

TEST(DataFolder, AnUnwritableProgramFolderSendsTheFilesToTheUserFolder) {
  TTempFolder folder;
  // A program folder that is gone is unwritable even for root.
  const TDataFolder data(folder / "gone/calculator", folder / "user/calculator");
  EXPECT_EQ(data.Choice(), TDataFolder::TChoice::User);
  EXPECT_FALSE(std::filesystem::exists(folder / "user")) << "made on first use, not before";
  EXPECT_EQ(data.PathOf(TDataFile::Settings), folder / "user/calculator/calculator.ini");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "user/calculator"));

  if (::geteuid() == 0) return;  // permission bits do not stop root
  const std::string locked = folder / "locked";
  std::filesystem::create_directory(locked);
  ::chmod(locked.c_str(), 0555);
  EXPECT_EQ(TDataFolder(locked + "/calculator", folder / "user").Choice(),
            TDataFolder::TChoice::User);
}

TEST(DataFolder, TheChosenFolderOverridesBoth) {
  TTempFolder folder;
  const TDataFolder data(folder / "calculator", folder / "user", folder / "chosen/");
  EXPECT_EQ(data.Choice(), TDataFolder::TChoice::Chosen);
  EXPECT_EQ(data.PathOf(TDataFile::Log), folder / "chosen/calculator.log");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "chosen"));

  const TDataFolder running = TDataFolder::ForRunningProgram(folder / "run");
  EXPECT_EQ(running.Folder(), folder / "run");
  EXPECT_EQ(running.PathOf(TDataFile::Conversion),
            folder / ("run/" + running.ProgramName() + ".cnv"));
}

}  // namespace
}  // namespace app
