// The ".sle" file: its exact bytes, its block rules, round trips, and what a failed read or
// save leaves behind.
#include "linsys/sle_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "linsys/linear_system.h"
#include "temp_folder.h"

namespace linsys {
namespace {

const std::string kDefaultFile =
    "List of variables\r\n{\r\nx,y,z\r\n}\r\n\r\nSystem of linear equatins\r\n{\r\n"
    "sin(e) x+ 2 y+ 3 z+1,\r\n4 x + 5 y+6 z-2,\r\n7 x+ 8 y+ 9 z+3\r\n}\r\n";

TEST(SleFile, WritesTheNineLinesAndReadsThemBackByteForByte) {
  EXPECT_EQ(WriteSleText(std::string(kInitialVariables), std::string(kInitialEquations)),
            kDefaultFile);
  // The variables go on one trimmed line; the equations keep their lines.
  EXPECT_EQ(WriteSleText("  a,\r\n b \n", "a + b,\na - b"),
            "List of variables\r\n{\r\na, b\r\n}\r\n\r\nSystem of linear equatins\r\n{\r\n"
            "a + b,\r\na - b\r\n}\r\n");

  const std::optional<TSleTexts> texts = ReadSleText(kDefaultFile);
  ASSERT_TRUE(texts);
  EXPECT_EQ(texts->variables, kInitialVariables);
  EXPECT_EQ(texts->equations, kInitialEquations);
  EXPECT_EQ(WriteSleText(texts->variables, texts->equations), kDefaultFile);
}

TEST(SleFile, ReadsByTheBlockRules) {
  const struct {
    const char* name;
    std::string bytes;
    bool good;
    const char* variables;
    const char* equations;
  } rows[] = {
      {"titles are free text", "anything\n{ x ,\n y }\nmore\n{\n  2 x,\n\n   \ny\n}\ntrailer", true,
       "x,y", "  2 x,\n   y"},
      {"one line", "{x}{x - 1}", true, "x", "x - 1"},
      {"LF line ends", "{\nx\n}\n{\nx\n-1\n}\n", true, "x", "x\n-1"},
      {"third block", kDefaultFile + "{\r\n}\r\n", false, "", ""},
      {"close before open", "}\r\n{x}{x}", false, "", ""},
      {"more closed than opened", "{x}}{x}", false, "", ""},
      {"one block", "{x}", false, "", ""},
      {"unclosed block", "{x}{x", false, "", ""},
      {"empty file", "", false, "", ""},
  };
  for (const auto& row : rows) {
    const std::optional<TSleTexts> texts = ReadSleText(row.bytes);
    ASSERT_EQ(texts.has_value(), row.good) << row.name;
    if (!texts) continue;
    EXPECT_EQ(texts->variables, row.variables) << row.name;
    EXPECT_EQ(texts->equations, row.equations) << row.name;
  }
  EXPECT_EQ(SleBlockWithBrace("x{", "x"), kVariablesTitle);
  EXPECT_EQ(SleBlockWithBrace("x", "}"), kEquationsTitle);
  EXPECT_FALSE(SleBlockWithBrace("x", "x"));
}

class TRecordingPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }
  std::vector<std::string> messages;
};

TEST(SleFile, ASystemSavedAndOpenedAgainIsTheSameFile) {
  app::TTempFolder folder;
  TRecordingPrompt prompt;
  TLinearSystem system(prompt, [] { return 1e-16; });
  system.VariablesText = "u, v";
  system.EquationsText = "u + v - 3,\n\n  u - v + 1";
  ASSERT_TRUE(system.ScrieFisier(folder / "a.sle"));
  TLinearSystem reader(prompt, [] { return 1e-16; });
  ASSERT_TRUE(reader.CitesteFisier(folder / "a.sle"));
  EXPECT_TRUE(reader.FileValid);
  EXPECT_EQ(reader.FileName, folder / "a.sle");
  EXPECT_EQ(reader.VariablesText, "u,v");
  EXPECT_EQ(reader.EquationsText, "u + v - 3,\n  u - v + 1") << "blank lines are dropped";
  ASSERT_TRUE(reader.ScrieFisier(folder / "b.sle"));
  ASSERT_TRUE(reader.CitesteFisier(folder / "b.sle"));
  ASSERT_TRUE(reader.ScrieFisier(folder / "c.sle"));
  EXPECT_EQ(app::ReadBytes(folder / "c.sle"), app::ReadBytes(folder / "b.sle"));
  EXPECT_TRUE(reader.Show(TSystemResult::Solution));
  EXPECT_EQ(reader.Results(), (std::vector<std::string>{"Solution:", "u = 1", "v = 2"}));
  EXPECT_TRUE(prompt.messages.empty());
}

TEST(SleFile, AFailedReadOrSaveChangesNothing) {
  app::TTempFolder folder;
  TRecordingPrompt prompt;
  TLinearSystem system(prompt, [] { return 1e-16; });
  app::WriteBytes(folder / "good.sle", kDefaultFile);
  ASSERT_TRUE(system.CitesteFisier(folder / "good.sle"));
  system.VariablesText = "a";
  system.EquationsText = "a - 1";

  app::WriteBytes(folder / "bad.sle", kDefaultFile + "{\r\n}\r\n");
  EXPECT_FALSE(system.CitesteFisier(folder / "bad.sle"));
  EXPECT_EQ(prompt.messages.back(), "Bad file format");
  EXPECT_FALSE(system.FileValid);
  EXPECT_EQ(system.VariablesText, "a");
  EXPECT_EQ(system.EquationsText, "a - 1");
  EXPECT_EQ(system.FileName, folder / "good.sle");

  EXPECT_FALSE(system.CitesteFisier(folder / "missing.sle"));
  EXPECT_EQ(prompt.messages.back(),
            "Cannot read " + (folder / "missing.sle") + ": No such file or directory");
  EXPECT_FALSE(system.CitesteFisier(folder.Path()));
  EXPECT_EQ(system.VariablesText, "a");

  // A brace would make the file unreadable: the save is refused and the old file stays.
  system.EquationsText = "a - {1}";
  EXPECT_FALSE(system.ScrieFisier(folder / "good.sle"));
  EXPECT_NE(prompt.messages.back().find("\"System of linear equatins\" block"), std::string::npos);
  EXPECT_EQ(app::ReadBytes(folder / "good.sle"), kDefaultFile);
  system.EquationsText = "a - 1";
  EXPECT_FALSE(system.ScrieFisier(folder / "no/such/folder.sle"));
  EXPECT_EQ(prompt.messages.back().rfind("Cannot write ", 0), 0u);
}

}  // namespace
}  // namespace linsys
