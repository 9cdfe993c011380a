// The table's grid, its look-ups, the default ".pte" text and loading property sections.
#include "periodic/periodic_table.h"

#include <gtest/gtest.h>

#include "../app/temp_folder.h"
#include "app/ini_file.h"
#include "app/user_prompt.h"
#include "support/damaged_files.h"
#include "support/save_faults.h"
#include "support/scripted_prompt.h"

namespace periodic {
namespace {

app::TIniFile Ini(const std::string& text) {
  return app::TIniFile::FromBytes(text);
}

std::string ValueOf(const TElementRec& cell, int id) {
  std::string value = "(none)";
  for (const TPropertyEntry& entry : cell.Values) {
    if (entry.Id == id) value = entry.Text;
  }
  return value;
}

TEST(PeriodicTableTest, GridHoldsTheElementsInTheirRowsAndTheSeriesBelow) {
  const TPeriodicTable table;
  int filled = 0;
  for (const auto& row : table.ElementGrid) {
    for (const TElementRec& cell : row)
      filled += cell.Empty() ? 0 : 1;
  }
  EXPECT_EQ(filled, 109);
  const std::pair<TCellPosition, const char*> cells[] = {
      {{1, 0}, "H"},  {{1, 17}, "He"}, {{6, 2}, "La"}, {{7, 2}, "Ac"},  {{7, 8}, "Mt"},
      {{8, 3}, "Ce"}, {{8, 16}, "Lu"}, {{9, 3}, "Th"}, {{9, 16}, "Lr"}, {{6, 3}, "Hf"}};
  for (const auto& [position, symbol] : cells)
    EXPECT_EQ(table.Cell(position).Symbol, symbol);
  EXPECT_TRUE(table.ElementGrid[0][0].Empty());
  EXPECT_TRUE(table.ElementGrid[2][5].Empty());
  EXPECT_TRUE(table.ElementGrid[7][9].Empty());
}

TEST(PeriodicTableTest, FindsElementsBySymbolOrNumber) {
  const TPeriodicTable table;
  EXPECT_EQ(table.Find("Fe"), (TCellPosition{4, 7}));
  EXPECT_EQ(table.Find("fe"), (TCellPosition{4, 7}));
  EXPECT_EQ(table.Find("26"), (TCellPosition{4, 7}));
  EXPECT_EQ(table.Find(" 58 "), (TCellPosition{8, 3}));
  EXPECT_EQ(table.Find("Co"), (TCellPosition{4, 8}));
  EXPECT_EQ(table.Find("CO"), (TCellPosition{4, 8}));
  for (const char* unknown : {"", "0", "110", "-1", "Xx", "Fe ", "H2", "99999999999"})
    EXPECT_FALSE(table.Find(unknown)) << unknown;
}

TEST(PeriodicTableTest, PropertyKeysAreThirtyTwoBitIntegers) {
  EXPECT_EQ(PropertyKey("5"), 5);
  EXPECT_EQ(PropertyKey(" 12 "), 12);
  EXPECT_EQ(PropertyKey("+3"), 3);
  EXPECT_EQ(PropertyKey("-2"), -2);
  EXPECT_EQ(PropertyKey("2147483647"), 2147483647);
  for (const char* bad : {"", " ", "x", "5x", "1.5", "+", "+-1", "--1", "2147483648", "1 2"})
    EXPECT_FALSE(PropertyKey(bad)) << bad;
}

TEST(PeriodicTableTest, DefaultFileHoldsTheBuiltInTextsInGridOrder) {
  const TPeriodicTable table;
  const std::string text = table.DefaultFileText();
  EXPECT_EQ(text.rfind("[Properties]\r\n1=Atomic Weight\r\n2=Melting Point\r\n3=Boiling Point\r\n"
                       "4=Density\r\n\r\n[Units]\r\n1=amu\r\n2=C\r\n3=C\r\n4=kg/cu.m\r\n\r\n"
                       "[H]\r\n1=1.0079\r\n2=-259.2\r\n3=-252.7\r\n4=8.988E-2\r\n\r\n[He]\r\n",
                       0),
            0u);
  EXPECT_NE(text.find("\r\n\r\n[Ca]\r\n1=40.08 \r\n"), std::string::npos);
  EXPECT_NE(text.find("[Bk]\r\n1=247\r\n2=\r\n3=\r\n4=\r\n\r\n"), std::string::npos);
  EXPECT_LT(text.find("[Mt]"), text.find("[Ce]"));  // row 7 before the series
  EXPECT_EQ(text.substr(text.size() - 8), "\r\n4=\r\n\r\n");
  const app::TIniFile file = Ini(text);
  EXPECT_EQ(file.Sections().size(), 2u + 109u);
  for (const app::TIniSection& section : file.Sections())
    EXPECT_EQ(section.Entries().size(), 4u) << section.Name();
  EXPECT_EQ(app::TIniFile::FromBytes(text).ToBytes(), text);  // CR LF throughout
}

TEST(PeriodicTableTest, FileNamesExtraPropertiesAndOverridesValues) {
  TPeriodicTable table;
  const auto error = table.LoadSections(
      Ini("[Properties]\r\n1=Mass\r\n5=Hardness\r\n[Units]\r\n1=amu\r\n5=Mohs\r\n"
          "[Fe]\r\n1=56\r\n5=4\r\n[Cu]\r\n3=\r\n"));
  ASSERT_FALSE(error);
  EXPECT_EQ(table.PropertyNames, (TPropertyList{{1, "Atomic Weight"},
                                                {5, "Hardness"},
                                                {2, "Melting Point"},
                                                {3, "Boiling Point"},
                                                {4, "Density"}}));
  EXPECT_EQ(table.PropertyUnits, (TPropertyList{{1, "amu"}, {5, "Mohs"}}));
  const TElementRec& iron = table.Cell(*table.Find("Fe"));
  EXPECT_EQ(ValueOf(iron, 1), "56");
  EXPECT_EQ(ValueOf(iron, 5), "4");
  EXPECT_EQ(ValueOf(iron, 2), "1535.85");
  EXPECT_EQ(ValueOf(table.Cell(*table.Find("Cu")), 3), "");  // a file may empty a value
  EXPECT_EQ(ValueOf(table.Cell(*table.Find("Ni")), 5), "(none)");

  // A second load starts afresh.
  ASSERT_FALSE(table.LoadSections(Ini("[Units]\r\n2=K\r\n")));
  EXPECT_EQ(table.PropertyNames.size(), 4u);
  EXPECT_EQ(ValueOf(table.Cell(*table.Find("Fe")), 1), "55.847");
  EXPECT_EQ(ValueOf(table.Cell(*table.Find("Fe")), 5), "(none)");
}

TEST(PeriodicTableTest, KeyThatIsNoIntegerFailsTheLoadAndChangesNothing) {
  TPeriodicTable table;
  auto error = table.LoadSections(Ini("[Properties]\r\n5=Hardness\r\nx=1\r\n7=Colour\r\n"));
  ASSERT_TRUE(error);
  EXPECT_EQ(*error, "'x' is not a valid integer value");
  EXPECT_TRUE(table.PropertyNames.empty());

  ASSERT_FALSE(table.LoadSections(Ini("[Units]\r\n1=amu\r\n[Fe]\r\n1=56\r\n")));
  error = table.LoadSections(Ini("[Units]\r\n1=u\r\n[H]\r\n1=1\r\n[He]\r\n1.5=2\r\n"));
  ASSERT_TRUE(error);
  EXPECT_EQ(*error, "'1.5' is not a valid integer value");
  EXPECT_EQ(table.PropertyUnits, (TPropertyList{{1, "amu"}}));
  EXPECT_EQ(ValueOf(table.Cell(*table.Find("Fe")), 1), "56");
  EXPECT_EQ(ValueOf(table.Cell(*table.Find("H")), 1), "1.0079");
  EXPECT_EQ(table.PropertyNames.size(), 4u);

  table.ClearProperties();
  EXPECT_TRUE(table.PropertyNames.empty());
  EXPECT_TRUE(table.PropertyUnits.empty());
  EXPECT_TRUE(table.Cell(*table.Find("Fe")).Values.empty());
}

TEST(PeriodicTableFileTest, FirstStartWritesTheDefaultFileAndReadsIt) {
  app::TTempFolder folder;
  const std::string defaultPath = folder / "calculator.pte";
  app::TScriptedPrompt prompt;
  TPeriodicTable table;
  std::string pteFilePath = folder / "gone.pte";
  TPeriodicTable::TReadState state = table.ReadFromPTEFile(pteFilePath, defaultPath, prompt);
  EXPECT_FALSE(state.Loaded);
  EXPECT_EQ(pteFilePath, "");

  ASSERT_FALSE(table.WriteToDefPTEFile(defaultPath));
  state = table.ReadFromPTEFile(pteFilePath, defaultPath, prompt);
  EXPECT_TRUE(state.Loaded);
  EXPECT_EQ(state.StatusText, defaultPath);
  EXPECT_EQ(pteFilePath, defaultPath);
  EXPECT_EQ(app::ReadBytes(defaultPath), table.DefaultFileText());

  // A file of the user's own is read instead, while it exists.
  const std::string own = folder / "own.pte";
  app::WriteBytes(own, "[Fe]\r\n1=56\r\n");
  pteFilePath = own;
  state = table.ReadFromPTEFile(pteFilePath, defaultPath, prompt);
  EXPECT_TRUE(state.Loaded);
  EXPECT_EQ(state.StatusText, own);
  EXPECT_EQ(ValueOf(table.Cell(*table.Find("Fe")), 1), "56");
  pteFilePath = folder.Path();  // a folder is no file
  EXPECT_EQ(table.ReadFromPTEFile(pteFilePath, defaultPath, prompt).StatusText, defaultPath);
  EXPECT_TRUE(prompt.messages.empty());
}

TEST(PeriodicTableFileTest, BadKeyOrUnreadableFileShowsAMessageAndLoadsNothing) {
  app::TTempFolder folder;
  const std::string path = folder / "bad.pte";
  app::WriteBytes(path, "[Properties]\r\n1=Mass\r\nx=1\r\n");
  app::TScriptedPrompt prompt;
  TPeriodicTable table;
  table.LoadBuiltInProperties();
  std::string pteFilePath = path;
  const TPeriodicTable::TReadState state = table.ReadFromPTEFile(pteFilePath, "", prompt);
  EXPECT_FALSE(state.Loaded);
  EXPECT_EQ(state.StatusText, "");
  EXPECT_EQ(pteFilePath, path);
  EXPECT_EQ(prompt.messages, (std::vector<std::string>{"'x' is not a valid integer value"}));
  EXPECT_EQ(table.PropertyUnits.size(), 4u);

  const std::string unwritable = folder / "no/such/folder/calculator.pte";
  const auto error = table.WriteToDefPTEFile(unwritable);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->rfind("Cannot write " + unwritable + ": ", 0), 0u);
}

// Damaged ".pte" files: no text, or a key that is no integer (even when cut short), is refused
// with its message and loads nothing; otherwise each line still whole gives its value.
TEST(PeriodicTableFileTest, DamagedFilesAreRefusedWithTheirMessageOrReadLineByLine) {
  const std::string good = "[Properties]\r\n5=Hardness\r\n[Fe]\r\n5=4\r\n";
  struct TRow {
    std::string name;
    std::string bytes;
    std::string message;  // the refusal, or the Hardness of Fe when read
  };
  std::vector<TRow> rows = {
      {"empty", "", "(none)"},
      {"a NUL byte", app::WithNul(good), "Not a text file"},
      {"an image", app::kImageBytes, "Not a text file"},
      {"CR-only line ends", app::WithCrOnly(good), "4"},
      {"a key cut short", "[Fe]\r\n5", "(none)"},
      {"a key that is no integer", "[Fe]\r\nfive=4\r\n", "'five' is not a valid integer value"},
      {"a key beyond 32 bits", "[Fe]\r\n4294967301=4\r\n",
       "'4294967301' is not a valid integer value"},
      {"UTF-8 accents", "[Fe]\r\n5=\xC3\xA9\xC2\xB5\r\n", "\xE9\xB5"},
      {"a 1 MB value", "[Fe]\r\n5=" + std::string(app::kMegabyte, '4'),
       std::string(app::kMegabyte, '4')},
  };
  const char* cut[] = {"(none)", "(none)", "(none)"};
  std::size_t lines = 0;
  for (auto& [name, bytes] : app::CutsAfterEachLine(good))
    rows.push_back({name, bytes, cut[lines++]});
  app::TTempFolder folder;
  const std::string path = folder / "damaged.pte";
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    app::WriteBytes(path, row.bytes);
    app::TScriptedPrompt prompt;
    TPeriodicTable table;
    table.LoadBuiltInProperties();
    std::string pteFilePath = path;
    const bool loaded = table.ReadFromPTEFile(pteFilePath, "", prompt).Loaded;
    const std::string hardness = ValueOf(table.Cell(*table.Find("Fe")), 5);
    if (prompt.messages.empty()) {
      EXPECT_TRUE(loaded);
      EXPECT_EQ(hardness, row.message);
      continue;
    }
    EXPECT_FALSE(loaded);
    const std::string expected =
        row.message == "Not a text file" ? "Cannot read " + path + ": " + row.message : row.message;
    EXPECT_EQ(prompt.messages, std::vector<std::string>{expected});
    EXPECT_EQ(table.PropertyUnits.size(), 4u) << "the built-in lists stay";
  }
}

TEST(PeriodicTableFileTest, AFailedDefaultFileWriteKeepsTheOldFile) {
  const TPeriodicTable table;
  app::ExpectSavesKeepTheOldFile("calculator.pte", [&](const std::string& path) {
    return table.WriteToDefPTEFile(path).value_or("");
  });
}

}  // namespace
}  // namespace periodic
