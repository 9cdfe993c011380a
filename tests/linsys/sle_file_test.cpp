// The ".sle" file: its exact bytes, its block rules, round trips, and what a failed read or
// save leaves behind.
#include "linsys/sle_file.h"

#include <gtest/gtest.h>

#include "linsys/linear_system.h"
#include "support/damaged_files.h"
#include "support/save_faults.h"
#include "support/scripted_prompt.h"
#include "temp_folder.h"

namespace linsys {
namespace {

const std::string kDefaultFile =
    "List of variables\r\n{\r\nx,y,z\r\n}\r\n\r\nSystem of linear equatins\r\n{\r\n"
    "sin(e) x+ 2 y+ 3 z+1,\r\n4 x + 5 y+6 z-2,\r\n7 x+ 8 y+ 9 z+3\r\n}\r\n";

TEST(SleFile, ReadsByTheBlockRules) {
  const struct {
    const char* name;
    std::string bytes;
    const char* variables;  // null when the file is refused
    const char* equations;
  } rows[] = {
      {"titles are free text", "any\n{ x ,\n y }\nmore\n{\n  2 x,\n\n   \ny\n}\nend", "x,y",
       "  2 x,\n   y"},
      {"one line", "{x}{x - 1}", "x", "x - 1"},
      {"LF line ends", "{\nx\n}\n{\nx\n-1\n}\n", "x", "x\n-1"},
      {"third block", kDefaultFile + "{\r\n}\r\n", nullptr, nullptr},
      {"close before open", "}\r\n{x}{x}", nullptr, nullptr},
      {"more closed than opened", "{x}}{x}", nullptr, nullptr},
      {"one block", "{x}", nullptr, nullptr},
      {"unclosed block", "{x}{x", nullptr, nullptr},
      // Regression: a lone CR stayed inside an equation, and the save wrote it as a line break,
      // so the file read back as other lines than were read.
      {"lone CR", "{x}{\r\na,\rb\r\r\n \r c\r\n}", "x", "a,\nb\n c"},
      {"CR line ends", "{\rx\r}\r{\rx\r-1\r}\r", "x", "x\n-1"},
  };
  for (const auto& row : rows) {
    const std::optional<TSleTexts> texts = ReadSleText(row.bytes);
    ASSERT_EQ(texts.has_value(), row.variables != nullptr) << row.name;
    if (!texts) continue;
    EXPECT_EQ(texts->variables, row.variables) << row.name;
    EXPECT_EQ(texts->equations, row.equations) << row.name;
  }
}

TEST(SleFile, ASavedSystemOpensAsItWasAndSavesAsTheSameBytes) {
  app::TTempFolder folder;
  app::TScriptedPrompt prompt;
  TLinearSystem system(prompt, [] { return 1e-16; });
  ASSERT_TRUE(system.ScrieFisier(folder / "default.sle"));
  EXPECT_EQ(app::ReadBytes(folder / "default.sle"), kDefaultFile);
  system.VariablesText = "  u,\r\n v \n";
  system.EquationsText = "u + v - 3,\n\n  u - v + 1";
  ASSERT_TRUE(system.ScrieFisier(folder / "a.sle"));
  ASSERT_TRUE(system.CitesteFisier(folder / "a.sle"));
  EXPECT_EQ(system.VariablesText, "u,v");
  EXPECT_EQ(system.EquationsText, "u + v - 3,\n  u - v + 1") << "blank lines are dropped";
  ASSERT_TRUE(system.ScrieFisier(folder / "b.sle"));
  ASSERT_TRUE(system.CitesteFisier(folder / "b.sle"));
  ASSERT_TRUE(system.ScrieFisier(folder / "c.sle"));
  EXPECT_EQ(app::ReadBytes(folder / "c.sle"), app::ReadBytes(folder / "b.sle"));
  EXPECT_TRUE(prompt.messages.empty());
  // A lone CR read from a file is a line break, which saving keeps.
  app::WriteBytes(folder / "cr.sle", "{x}{\r\nx,\r-1\r\n}\r\n");
  ASSERT_TRUE(system.CitesteFisier(folder / "cr.sle"));
  ASSERT_TRUE(system.ScrieFisier(folder / "cr2.sle"));
  ASSERT_TRUE(system.CitesteFisier(folder / "cr2.sle"));
  EXPECT_EQ(system.EquationsText, "x,\n-1");
  // Regression: a brace was saved, and the file could never be read again. The save is refused
  // and the old file stays.
  system.EquationsText = "u - {1}";
  EXPECT_FALSE(system.ScrieFisier(folder / "default.sle"));
  EXPECT_NE(prompt.messages.back().find("\"System of linear equatins\" block"), std::string::npos);
  EXPECT_EQ(app::ReadBytes(folder / "default.sle"), kDefaultFile);
}

TEST(SleFile, DamagedFilesAreRefusedWholeOrReadAsTheyStand) {
  const std::string big(app::kMegabyte, 'x');
  struct TRow {
    std::string name;
    std::string bytes;
    const char* equations;  // null when the file is refused
  } fixed[] = {
      {"empty", "", nullptr},
      {"a NUL byte", app::WithNul(kDefaultFile), nullptr},
      {"an image", app::kImageBytes, nullptr},
      {"CR-only line ends", app::WithCrOnly(kDefaultFile),
       "sin(e) x+ 2 y+ 3 z+1,\n4 x + 5 y+6 z-2,\n7 x+ 8 y+ 9 z+3"},
      {"UTF-8 accents", "{x}{x-\xC3\xA9t\xC3\xA9}", "x-\xE9t\xE9"},
      {"a 1 MB line", "{x}{" + big + "}", big.c_str()},
  };
  std::vector<TRow> rows(std::begin(fixed), std::end(fixed));
  for (auto& [name, bytes] : app::CutsAfterEachLine(kDefaultFile))
    rows.push_back({name, bytes, nullptr});
  app::TTempFolder folder;
  app::TScriptedPrompt prompt;
  TLinearSystem system(prompt, [] { return 1e-16; });
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    system.VariablesText = "a,b";
    system.EquationsText = "kept";
    prompt.messages.clear();
    app::WriteBytes(folder / "damaged.sle", row.bytes);
    EXPECT_EQ(system.CitesteFisier(folder / "damaged.sle"), row.equations != nullptr);
    if (row.equations == nullptr) {
      EXPECT_EQ(prompt.messages, std::vector<std::string>{std::string(kBadFileFormat)});
      EXPECT_EQ(system.EquationsText, "kept");
      EXPECT_EQ(system.VariablesText, "a,b");
      EXPECT_FALSE(system.FileValid);
    } else {
      EXPECT_TRUE(prompt.messages.empty());
      EXPECT_EQ(system.EquationsText, row.equations);
    }
  }
}

TEST(SleFile, AFailedSaveKeepsTheOldFileAndSaysWhy) {
  app::TScriptedPrompt prompt;
  TLinearSystem system(prompt, [] { return 1e-16; });
  app::ExpectSavesKeepTheOldFile("system.sle", [&](const std::string& path) {
    prompt.messages.clear();
    EXPECT_FALSE(system.ScrieFisier(path));
    return prompt.messages.empty() ? std::string() : prompt.messages.back();
  });
}

}  // namespace
}  // namespace linsys
