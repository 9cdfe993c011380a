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

// An installed program: "<prefix>/bin/calculator" beside "<prefix>/share/calculator". Even
// when its folder is writable (root runs it) the files go to the per-user folder, which takes
// the shipped data files the first time it is missing them.
TEST(DataFolder, AnInstalledProgramUsesTheUserFolderSeededFromItsSharedData) {
  TTempFolder folder;
  const std::string shared = folder / "usr/share/calculator";
  std::filesystem::create_directories(shared);
  std::filesystem::create_directories(folder / "usr/bin");
  for (const char* name : {"calculator.cnv", "calculator.ini"})
    WriteBytes(shared + "/" + name, std::string("shipped ") + name);
  ::chmod((shared + "/calculator.cnv").c_str(), 0444);

  const TDataFolder data(folder / "usr/bin/calculator", folder / "home/calculator");
  EXPECT_EQ(data.Choice(), TDataFolder::TChoice::User);
  EXPECT_EQ(data.SharedFolder(), shared);
  const std::string conversion = data.PathOf(TDataFile::Conversion);
  EXPECT_EQ(conversion, folder / "home/calculator/calculator.cnv");
  EXPECT_EQ(ReadBytes(conversion), "shipped calculator.cnv");
  EXPECT_EQ(::access(conversion.c_str(), W_OK), 0) << "the user's copy can be saved over";
  // Only the data files are seeded; the settings are the user's own from the start.
  EXPECT_FALSE(std::filesystem::exists(data.PathOf(TDataFile::Settings)));
  // A file missing from the shared folder stays missing (the built-in defaults answer).
  EXPECT_FALSE(std::filesystem::exists(data.PathOf(TDataFile::Constants)));

  WriteBytes(conversion, "edited");
  EXPECT_EQ(ReadBytes(data.PathOf(TDataFile::Conversion)), "edited")
      << "a user's file is never replaced by the shipped one";

  // A build tree or a portable copy has no shared folder and keeps its own folder.
  EXPECT_EQ(TDataFolder(folder / "home/calculator", folder / "user").SharedFolder(), "");
}

}  // namespace
}  // namespace app
