// Saves under the faults a disk or a folder can give: each writer of the calculator is run
// through them, and must keep the old file byte for byte and tell the user why.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app/safe_save.h"
#include "app/temp_folder.h"

namespace app {

// Saves to the path it is given and returns what the user was told ("" when nothing).
using TSaveAction = std::function<std::string(const std::string& path)>;

// A save replaces the file through a temporary one; an append (the log) adds to the file itself,
// unsynced, so neither a sync, a rename nor the folder's rights come into it.
enum class TSaveKind { tReplace, tAppend };

// Runs `save` over an old file `name` (holding `old`) in a fresh folder, once per fault: a write
// that fails half-way, a sync and a rename that fail, a folder that refuses new files, a
// read-only file, and a folder where the file should be. After each, the old file (or folder)
// is as it was, no temporary file is left, and the message names the file and the reason.
inline void ExpectSavesKeepTheOldFile(const std::string& name, const TSaveAction& save,
                                      TSaveKind kind = TSaveKind::tReplace,
                                      const std::string& old = "old content\r\nline 2\r\n") {
  struct TCase {
    const char* what;
    std::optional<TWriteFault> fault;
    const char* reason;
  };
  const bool root = ::geteuid() == 0;
  const TCase cases[] = {
      {"a write that fails half-way", TWriteFault{TWriteFault::tWrite, 2, 1, ENOSPC},
       "No space left on device"},
      {"a sync that fails", TWriteFault{TWriteFault::tSync, 1, 0, EIO}, "Input/output error"},
      {"a rename that fails", TWriteFault{TWriteFault::tRename, 1, 0, EXDEV},
       "Invalid cross-device link"},
      // Root writes into any folder: the refusal is injected where the temporary file is made.
      {"a folder without write rights",
       root ? std::optional(TWriteFault{TWriteFault::tCreate, 1, 0, EACCES}) : std::nullopt,
       "Permission denied"},
      {"a read-only file", std::nullopt, "Permission denied"},
      {"a folder in the file's place", std::nullopt, "Is a directory"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    const bool replacing = kind == TSaveKind::tReplace;
    if (!replacing && (c.fault ? c.fault->step != TWriteFault::tWrite
                               : std::string(c.what) == "a folder without write rights"))
      continue;
    TTempFolder folder;
    const std::string path = folder / name;
    const std::string what(c.what);
    if (what == "a folder in the file's place") {
      std::filesystem::create_directory(path);
    } else {
      WriteBytes(path, old);
    }
    if (what == "a read-only file") ::chmod(path.c_str(), 0444);
    if (what == "a folder without write rights" && !root) ::chmod(folder.Path().c_str(), 0555);
    std::string message;
    {
      std::optional<TInjectedWriteFault> injected;
      if (c.fault) injected.emplace(*c.fault);
      message = save(path);
    }
    ::chmod(folder.Path().c_str(), 0755);
    EXPECT_EQ(message, "Cannot write " + path + ": " + c.reason);
    if (what == "a folder in the file's place") {
      EXPECT_TRUE(std::filesystem::is_directory(path));
    } else {
      EXPECT_EQ(ReadBytes(path), old);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "a temporary file was left behind";
  }
}

}  // namespace app
