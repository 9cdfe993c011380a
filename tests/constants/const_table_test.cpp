// The constants definition table: its sorted lists, the ".con" reading and writing rules, the
// default file and saves that fail.
#include "constants/const_table.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "app/ini_file.h"
#include "app/temp_folder.h"
#include "support/damaged_files.h"
#include "support/save_faults.h"
#include "support/scripted_prompt.h"

namespace constants {
namespace {

namespace fs = std::filesystem;

using app::ReadBytes;
using app::WriteBytes;

class ConstTableTest : public ::testing::Test {
 protected:
  std::string DefaultFile() const { return (folder_ / "calculator.con").string(); }
  std::vector<std::string> ConstantNames(std::size_t category = 0) const {
    std::vector<std::string> names;
    for (const TConstEntry& entry : table_.Categories()[category].Constants) {
      names.push_back(entry.Name);
    }
    return names;
  }

  app::TTempFolder temp_;
  fs::path folder_{temp_.Path()};
  app::TScriptedPrompt prompt_;
  TConstTable table_{temp_ / "unused.con", prompt_};
};

TEST_F(ConstTableTest, ListsStaySortedWithoutRegardToCaseAndRefuseDuplicates) {
  EXPECT_FALSE(table_.AddCategory("mechanics"));
  EXPECT_FALSE(table_.AddCategory(" Electricity "));
  EXPECT_FALSE(table_.AddCategory("atoms"));
  EXPECT_EQ(table_.AddCategory("MECHANICS"), "Duplicates not allowed : MECHANICS");
  ASSERT_EQ(table_.Categories().size(), 3u);
  EXPECT_EQ(table_.Categories()[0].Name, "atoms");
  EXPECT_EQ(table_.Categories()[1].Name, "Electricity");

  EXPECT_FALSE(table_.AddConstant(2, "g", {"9.81", "(m/s^2)"}));
  EXPECT_FALSE(table_.AddConstant(2, "c", {"299792458", ""}));
  EXPECT_FALSE(table_.AddConstant(2, "Alpha", {"1", ""}));
  EXPECT_EQ(table_.AddConstant(2, "G", {"1", ""}), "Duplicates not allowed : G");
  EXPECT_EQ(ConstantNames(2), (std::vector<std::string>{"Alpha", "c", "g"}));

  // Editing files the constant again under its new name; its own name is no clash.
  EXPECT_FALSE(table_.EditConstant(2, 0, "zeta", {"2", "renamed"}));
  EXPECT_EQ(ConstantNames(2), (std::vector<std::string>{"c", "g", "zeta"}));
  EXPECT_FALSE(table_.EditConstant(2, 1, "G", {"9.8", ""}));
  EXPECT_EQ(table_.EditConstant(2, 1, "C", {"1", ""}), "Duplicates not allowed : C");
  EXPECT_EQ(table_.Categories()[2].Constants[1].Record.Value, "9.8");

  // Texts that would read back as something else are refused.
  EXPECT_EQ(table_.AddConstant(2, "a=b", {"1", ""}), "Invalid name : a=b");
  EXPECT_EQ(table_.AddConstant(2, "h", {"1 // 2", ""}), "Invalid value : 1 // 2");
  // Regression: these were written as a comment or a header line and lost on the next read.
  for (const char* name : {";x", "#x", "[x"}) {
    EXPECT_EQ(table_.AddConstant(2, name, {"1", "]"}), std::string("Invalid name : ") + name);
  }

  EXPECT_FALSE(table_.RenameCategory(2, "Zoo"));
  EXPECT_EQ(table_.Categories()[2].Name, "Zoo");
  EXPECT_EQ(table_.RenameCategory(2, "ATOMS"), "Duplicates not allowed : ATOMS");
  EXPECT_EQ(table_.DeleteCategory(2), "Please delete all constants");
  table_.DeleteConstants(2, 1, 99);  // cut at the last constant
  EXPECT_EQ(ConstantNames(2), std::vector<std::string>{"c"});
  table_.DeleteConstants(2, 0, 1);
  EXPECT_FALSE(table_.DeleteCategory(2));
  EXPECT_EQ(table_.Categories().size(), 2u);
}

TEST_F(ConstTableTest, WithNoFileTheDefaultIsWrittenAndReadSorted) {
  TConstTable table(DefaultFile(), prompt_);
  table.LoadAtStart();
  EXPECT_TRUE(table.Loaded);
  EXPECT_EQ(table.ConstFilePath, DefaultFile());
  std::string expected = "[Physical constants]\r\n";
  for (const std::string& line : TConstTable::DefaultLines())
    expected += line + "\r\n";
  expected += "\r\n";
  EXPECT_EQ(ReadBytes(DefaultFile()), expected);
  EXPECT_EQ(TConstTable::DefaultLines().size(), 24u);

  ASSERT_EQ(table.Categories().size(), 1u);
  const TConstCategory& physical = table.Categories()[0];
  EXPECT_EQ(physical.Name, "Physical constants");
  ASSERT_EQ(physical.Constants.size(), 24u);
  EXPECT_EQ(physical.Constants.front().Name, "Avogadro_constant");
  EXPECT_EQ(physical.Constants.front().Record.Value, "6.0221367E+023");
  EXPECT_EQ(physical.Constants.front().Record.Description, "(1/mol)");
  const TConstEntry& rydberg = physical.Constants[*table.FindConstant(0, "rydberg_constant")];
  EXPECT_EQ(rydberg.Record.Value, "10973731.534");
  EXPECT_EQ(rydberg.Record.Description, " (1/m)");
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(ConstTableTest, WritingAfterReadingDropsTheBlanksAroundTheEqualsSign) {
  TConstTable table(DefaultFile(), prompt_);
  table.LoadAtStart();
  ASSERT_TRUE(table.WriteToConstFile());
  const std::string written = ReadBytes(DefaultFile());
  EXPECT_EQ(written.rfind("[Physical constants]\r\nAvogadro_constant=6.0221367E+023 //(1/mol)\r\n"
                          "Bohr_magneton=9.2740154E-024 //(J/T)\r\n",
                          0),
            0u);
  EXPECT_NE(written.find("\r\nBohr_radius=5.29177249E-011 // (m)\r\n"), std::string::npos);
  EXPECT_EQ(written.substr(written.size() - 4), "\r\n\r\n");
  // Read back, the table is the same and writes the same bytes.
  ASSERT_TRUE(table.ReadFromConstFile());
  ASSERT_TRUE(table.WriteToConstFile());
  EXPECT_EQ(ReadBytes(DefaultFile()), written);
}

TEST_F(ConstTableTest, ReadsFilesItDidNotWrite) {
  const fs::path file = folder_ / "mine.con";
  WriteBytes(file.string(),
             "; my constants\n"
             "[ Mechanics ]\n"
             "  g =  9.81   //(m/s^2)\n"
             "no equals sign here\n"
             "bare = 42\n"
             "G = 1 // clash with g\n"
             " = 5 //nameless\n"
             "[Electric]\r\n"
             "e=1.6E-019//C//x\r\n"
             "[mechanics]\n"
             "h = 2*g //()\n");
  TConstTable table(DefaultFile(), prompt_);
  table.ConstFilePath = file.string();
  ASSERT_TRUE(table.ReadFromConstFile());
  ASSERT_EQ(table.Categories().size(), 2u);
  EXPECT_EQ(table.Categories()[0].Name, "Electric");
  const TConstRec& e = table.Categories()[0].Constants[0].Record;
  EXPECT_EQ(e.Value, "1.6E-019");
  EXPECT_EQ(e.Description, "C//x");
  EXPECT_EQ(table.Categories()[1].Name, "Mechanics");
  const std::vector<TConstEntry>& mechanics = table.Categories()[1].Constants;
  ASSERT_EQ(mechanics.size(), 3u);
  EXPECT_EQ(mechanics[0].Name, "bare");
  EXPECT_EQ(mechanics[0].Record.Value, "42");
  EXPECT_EQ(mechanics[0].Record.Description, "");
  EXPECT_EQ(mechanics[1].Name, "g");
  EXPECT_EQ(mechanics[1].Record.Value, "9.81");
  EXPECT_EQ(mechanics[2].Name, "h");
  // Regression: a control character before ";", "#" or "[" is no comment to the file module,
  // but trimmed it gave a name the table then wrote as a comment or a header: such keys are not
  // kept, so that what was read is what a save writes back.
  WriteBytes(file.string(), "[A]\r\n\x01;x=1\r\n\x01#y=2\r\n\x02[z=3 //w]\r\nok=4\r\n");
  table.ConstFilePath = file.string();
  ASSERT_TRUE(table.ReadFromConstFile());
  ASSERT_EQ(table.Categories().size(), 1u);
  ASSERT_EQ(table.Categories()[0].Constants.size(), 1u);
  EXPECT_EQ(table.Categories()[0].Constants[0].Name, "ok");
  // Regression: a lone CR was read into a name and written as a blank, so that two constants
  // became one on the next read. It is the blank at once, and the second name is a duplicate.
  WriteBytes(file.string(), "[A]\r\na\rb=1 //x\ry\r\na b=2\r\n");
  ASSERT_TRUE(table.ReadFromConstFile());
  ASSERT_EQ(table.Categories()[0].Constants.size(), 1u);
  EXPECT_EQ(table.Categories()[0].Constants[0].Name, "a b");
  EXPECT_EQ(table.Categories()[0].Constants[0].Record.Description, "x y");
  // A file that is not there: the default is tried, and with none ConstFilePath empties.
  table.ConstFilePath = (folder_ / "gone.con").string();
  EXPECT_FALSE(table.ReadFromConstFile());
  EXPECT_EQ(table.ConstFilePath, "");
  EXPECT_FALSE(table.Loaded);
}

TEST_F(ConstTableTest, NothingIsWrittenUnlessLoaded) {
  TConstTable table(DefaultFile(), prompt_);
  table.ConstFilePath = DefaultFile();
  ASSERT_FALSE(table.AddCategory("x"));
  EXPECT_FALSE(table.WriteToConstFile());
  EXPECT_FALSE(fs::exists(DefaultFile()));
}

TEST_F(ConstTableTest, FailedSavesKeepTheOldFileAndTheTable) {
  TConstTable table(DefaultFile(), prompt_);
  table.LoadAtStart();
  const std::string before = ReadBytes(DefaultFile());
  ASSERT_FALSE(table.AddConstant(0, "g", {"9.81", ""}));

  // A path that is a folder.
  const fs::path folderPath = folder_ / "sub.con";
  fs::create_directories(folderPath);
  table.ConstFilePath = folderPath.string();
  EXPECT_FALSE(table.WriteToConstFile());
  ASSERT_EQ(prompt_.messages.size(), 1u);
  EXPECT_EQ(prompt_.messages[0].rfind("Cannot write " + folderPath.string() + ": ", 0), 0u);
  EXPECT_TRUE(fs::is_directory(folderPath));

  // An unwritable folder (meaningless for root, who may write anywhere).
  if (::geteuid() != 0) {
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    table.ConstFilePath = DefaultFile();
    EXPECT_FALSE(table.WriteToConstFile());
    EXPECT_EQ(prompt_.messages.back().rfind("Cannot write " + DefaultFile() + ": ", 0), 0u);
    fs::permissions(folder_, fs::perms::owner_all);
  }
  EXPECT_EQ(ReadBytes(DefaultFile()), before);
  EXPECT_TRUE(table.FindConstant(0, "g"));
}

TEST_F(ConstTableTest, FailedWritesOfTheFileAndTheDefaultFileKeepTheOldOnes) {
  TConstTable table(DefaultFile(), prompt_);
  table.LoadAtStart();
  const auto lastMessage = [this] {
    std::string last = prompt_.messages.empty() ? "" : prompt_.messages.back();
    prompt_.messages.clear();
    return last;
  };
  app::ExpectSavesKeepTheOldFile("own.con", [&](const std::string& path) {
    table.ConstFilePath = path;
    EXPECT_FALSE(table.WriteToConstFile());
    return lastMessage();
  });
  app::ExpectSavesKeepTheOldFile("calculator.con", [&](const std::string& path) {
    TConstTable fresh(path, prompt_);
    EXPECT_FALSE(fresh.WriteToDefConstFile());
    return lastMessage();
  });
  EXPECT_TRUE(table.Loaded);
}

TEST_F(ConstTableTest, AnUnwritableDefaultFolderStillShowsTheDefaultContent) {
  const fs::path file = folder_ / "calculator.con";
  fs::create_directories(file);  // the default file's name is taken by a folder
  TConstTable table(file.string(), prompt_);
  table.LoadAtStart();
  EXPECT_FALSE(table.Loaded);
  ASSERT_EQ(table.Categories().size(), 1u);
  EXPECT_EQ(table.Categories()[0].Constants.size(), 24u);
  ASSERT_EQ(prompt_.messages.size(), 1u);
  EXPECT_EQ(prompt_.messages[0].rfind("Cannot write ", 0), 0u);
}

// Damaged ".con" files: bytes that are no text are refused and the table keeps what it held;
// otherwise every line that still holds a name and "=" is a constant.
TEST_F(ConstTableTest, DamagedFilesAreRefusedWhenNoTextAndOtherwiseReadLineByLine) {
  const std::string good = "[Mechanics]\r\ng = 9.81 //(m/s^2)\r\n[Electric]\r\ne = 1.6E-019\r\n";
  struct TRow {
    std::string name;
    std::string bytes;
    std::string constants;  // "category:name=value " each, or "refused"
  };
  std::vector<TRow> rows = {
      {"empty", "", ""},
      {"a NUL byte", app::WithNul(good), "refused"},
      {"an image", app::kImageBytes, "refused"},
      {"CR-only line ends", app::WithCrOnly(good), "Electric:e=1.6E-019 Mechanics:g=9.81 "},
      {"a constant cut in its value", "[A]\r\nk = 1.", "A:k=1. "},
      {"a constant before any category", "k = 1\r\n[A]\r\n", ""},
      {"UTF-8 accents", "[M\xC3\xA9" "canique]\r\n\xC3\xA9 = 1 //\xC2\xB5m\r\n",
       "M\xE9"
       "canique:\xE9=1 "},
      {"a 1 MB value", "[A]\r\nk = " + std::string(app::kMegabyte, '1') + "\r\n",
       "A:k=" + std::string(app::kMegabyte, '1') + " "},
  };
  const char* cut[] = {"", "Mechanics:g=9.81 ", "Mechanics:g=9.81 "};
  std::size_t lines = 0;
  for (auto& [name, bytes] : app::CutsAfterEachLine(good))
    rows.push_back({name, bytes, cut[lines++]});
  const std::string path = (folder_ / "damaged.con").string();
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    TConstTable table(DefaultFile(), prompt_);
    ASSERT_FALSE(table.AddCategory("kept"));
    prompt_.messages.clear();
    WriteBytes(path, row.bytes);
    table.ConstFilePath = path;
    const bool read = table.ReadFromConstFile();
    std::string constants;
    for (const TConstCategory& category : table.Categories()) {
      for (const TConstEntry& entry : category.Constants)
        constants += category.Name + ":" + entry.Name + "=" + entry.Record.Value + " ";
    }
    if (row.constants == "refused") {
      EXPECT_FALSE(read);
      EXPECT_EQ(prompt_.messages,
                std::vector<std::string>{"Cannot read " + path + ": Not a text file"});
      ASSERT_EQ(table.Categories().size(), 1u);
      EXPECT_EQ(table.Categories()[0].Name, "kept");
      continue;
    }
    EXPECT_TRUE(read);
    EXPECT_TRUE(prompt_.messages.empty());
    EXPECT_EQ(constants, row.constants);
  }
}

TEST_F(ConstTableTest, AnUnreadableFileKeepsWhatTheTableHeld) {
  TConstTable table(DefaultFile(), prompt_);
  ASSERT_FALSE(table.AddCategory("kept"));
  const fs::path file = folder_ / "big.con";
  WriteBytes(file.string(), std::string(app::TIniFile::kMaxIniBytes + 1, '\n'));
  table.ConstFilePath = file.string();
  EXPECT_FALSE(table.ReadFromConstFile());
  ASSERT_EQ(prompt_.messages.size(), 1u);
  EXPECT_EQ(prompt_.messages[0].rfind("Cannot read ", 0), 0u);
  ASSERT_EQ(table.Categories().size(), 1u);
  EXPECT_EQ(table.Categories()[0].Name, "kept");
  EXPECT_FALSE(table.Loaded);
}

}  // namespace
}  // namespace constants
