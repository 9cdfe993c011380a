// Safe saves: a save replaces the file whole or not at all, reports the system's reason, and
// leaves no temporary file behind; the whole-file read keeps every byte.
#include "app/safe_save.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/save_faults.h"
#include "temp_folder.h"

namespace app {
namespace {

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SafeSave, WritesANewFileAndOverwritesAnOldOneWhole) {
  TTempFolder folder;
  const std::string path = folder / "calculator.con";
  ASSERT_EQ(SafeSave(path, "first, and longer than what follows\r\n"), std::nullopt);
  ::chmod(path.c_str(), 0640);
  const std::string bytes("[a]\r\nb=\xE9\0c\r\n", 11);
  ASSERT_EQ(SafeSave(path, bytes), std::nullopt);
  EXPECT_EQ(ReadBytes(path), bytes);
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u) << "an existing file keeps its permissions";
  ASSERT_EQ(SafeSave(path, ""), std::nullopt);
  EXPECT_EQ(ReadBytes(path), "");
  EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"calculator.con"});

  // Through a link, the file it points to is replaced and the link stays.
  const std::string link = folder / "link.con";
  std::filesystem::create_symlink(path, link);
  ASSERT_EQ(SafeSave(link, "via link"), std::nullopt);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadBytes(path), "via link");
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"calculator.con", "link.con"}));

  std::string read;
  ASSERT_EQ(ReadFileBytes(path, read), std::nullopt);
  EXPECT_EQ(read, "via link");
}

TEST(SafeSave, AFailedSaveKeepsTheOldFileAndSaysWhy) {
  TTempFolder folder;
  const std::string file = folder / "plain.txt";
  WriteBytes(file, "old");

  // A folder where the file should be.
  const std::string directory = folder / "calculator.ini";
  std::filesystem::create_directory(directory);
  EXPECT_EQ(SafeSave(directory, "new"), "Cannot write " + directory + ": Is a directory");
  EXPECT_TRUE(std::filesystem::is_directory(directory));

  // A folder that is a regular file, and one that does not exist.
  EXPECT_EQ(SafeSave(file + "/x.ini", "new"), "Cannot write " + file + "/x.ini: Not a directory");
  EXPECT_EQ(SafeSave(folder / "none/x.ini", "new"),
            "Cannot write " + (folder / "none/x.ini") + ": No such file or directory");
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"calculator.ini", "plain.txt"}));

  // A pipe is neither replaced nor waited on.
  const std::string pipe = folder / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(SafeSave(pipe, "new"), "Cannot write " + pipe + ": Invalid argument");
  EXPECT_TRUE(std::filesystem::is_fifo(pipe));
  std::string read = "stale";
  EXPECT_EQ(ReadFileBytes(pipe, read), "Cannot read " + pipe + ": Invalid argument");
  EXPECT_EQ(Names(folder.Path()),
            (std::vector<std::string>{"calculator.ini", "pipe", "plain.txt"}));

  EXPECT_EQ(ReadFileBytes(folder / "none.txt", read),
            "Cannot read " + (folder / "none.txt") + ": No such file or directory");
  EXPECT_EQ(read, "");
}

// Permission bits do not stop root: run as root (as in a container), the save is made with the
// effective user "nobody" and the rights come back afterwards.
class TWithoutRootRights {
 public:
  TWithoutRootRights() : wasRoot_(::geteuid() == 0) {
    if (wasRoot_ && ::seteuid(65534) != 0) ADD_FAILURE() << "cannot give up root's rights";
  }
  ~TWithoutRootRights() {
    if (wasRoot_ && ::seteuid(0) != 0) std::abort();
  }
  TWithoutRootRights(const TWithoutRootRights&) = delete;
  TWithoutRootRights& operator=(const TWithoutRootRights&) = delete;

 private:
  bool wasRoot_;
};

TEST(SafeSave, AFolderWithoutWriteRightsKeepsTheOldFile) {
  TTempFolder folder;
  ::chmod(folder.Path().c_str(), 0755);
  const std::string locked = folder / "locked";
  std::filesystem::create_directory(locked);
  WriteBytes(locked + "/calculator.ini", "old");
  ::chmod(locked.c_str(), 0555);
  {
    const TWithoutRootRights asUser;
    EXPECT_EQ(SafeSave(locked + "/calculator.ini", "new"),
              "Cannot write " + locked + "/calculator.ini: Permission denied");
  }
  EXPECT_EQ(ReadBytes(locked + "/calculator.ini"), "old");
  EXPECT_EQ(Names(locked), std::vector<std::string>{"calculator.ini"});
}

TEST(SafeSave, InjectedFaultsAndRefusedTargetsKeepTheOldFile) {
  const std::string bytes = "new content, written a byte at a time when a fault asks\r\n";
  ExpectSavesKeepTheOldFile("calculator.con", [&](const std::string& path) {
    return SafeSave(path, bytes).value_or("");
  });
  ExpectSavesKeepTheOldFile(
      "calculator.log",
      [&](const std::string& path) { return SafeAppend(path, bytes).value_or(""); },
      TSaveKind::tAppend);

  // Once the fault is gone the same calls go through, and an append adds to what was there.
  TTempFolder folder;
  const std::string log = folder / "calculator.log";
  {
    TInjectedWriteFault full(TWriteFault{TWriteFault::tWrite, 3, 2, ENOSPC});
    EXPECT_NE(SafeAppend(log, "a torn record"), std::nullopt);
  }
  EXPECT_EQ(ReadBytes(log), "") << "a new log keeps nothing of a failed record";
  EXPECT_EQ(SafeAppend(log, "one\r\n"), std::nullopt);
  EXPECT_EQ(SafeAppend(log, "two\r\n"), std::nullopt);
  EXPECT_EQ(ReadBytes(log), "one\r\ntwo\r\n");
  EXPECT_EQ(SafeSave(log, bytes), std::nullopt);
  EXPECT_EQ(ReadBytes(log), bytes);

  const std::string pipe = folder / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(SafeAppend(pipe, "x"), "Cannot write " + pipe + ": Invalid argument")
      << "a pipe without a reader is refused, not waited on";
}

}  // namespace
}  // namespace app
