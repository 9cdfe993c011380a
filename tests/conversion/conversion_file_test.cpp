// The ".cnv" file: the default file's bytes, round trips through files, unreadable files and
// the rules that choose which file is read.
#include "conversion/conversion_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/temp_folder.h"
#include "conversion/unit_conversion.h"
#include "support/damaged_files.h"

namespace conversion {
namespace {

using app::ReadBytes;
using app::TTempFolder;
using app::WriteBytes;

class TRecordingPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }
  std::vector<std::string> messages;
};

TEST(ConversionFileTest, DefaultFileIsTheTableLineByLine) {
  const std::string text = DefaultConvFileBytes();
  EXPECT_EQ(text.substr(0, 81),
            "[Angles]\r\n1=pi radians : degrees : x*180 : x/180 : 674 : 287 : 452 : 304\r\n"
            "2=pi ra");
  EXPECT_NE(text.find("\r\n6=quadrants : degrees : x*90 : x/90 : 254 : 284 : 452 : 304\r\n"
                      "\r\n[Bits & Bytes]\r\n1=megabytes : bytes : x*2^20 : x/(2^20) : "),
            std::string::npos);
  EXPECT_NE(text.find("\r\n23=lightyears : meters : x*9.461*10^15 : x/(9.461*10^15) : 333 : 499 "
                      ": 279 : 205\r\n\r\n[Power]\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\r\n1=Celcius : Fahrenheit : 1.8*x+32 : (x-32)*5/9 : 409 : 244 : 597 : "
                      "244\r\n"),
            std::string::npos);
  const std::string end =
      "14=kilograms : pounds : x*2.2046 : x/2.2046 : 428 : 49 : 610 : 166\r\n\r\n";
  EXPECT_EQ(text.substr(text.size() - end.size()), end);
  std::size_t lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos;
       at = text.find("\r\n", at + 2)) {
    ++lines;
  }
  EXPECT_EQ(lines, 89u + 11u + 11u);  // key lines, section lines, empty lines
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);

  // What the file holds reads back to the table the defaults give.
  TCategoryList fromDefaults;
  LoadDefaultTable(fromDefaults);
  const std::vector<TCnvSection> written = WriteSections(fromDefaults);
  TCategoryList reread;
  ASSERT_FALSE(ReadSections(written, reread).has_value());
  EXPECT_EQ(WriteSections(reread).size(), 11u);
  for (std::size_t c = 0; c < written.size(); ++c) {
    EXPECT_EQ(WriteSections(reread)[c].values, written[c].values);
  }
}

TEST(ConversionFileTest, WrittenFilesReadBackWithTheCurrentPositions) {
  TTempFolder folder;
  const std::string defaults = folder / "calculator.cnv";
  ASSERT_FALSE(WriteDefaultConvFile(defaults).has_value());
  EXPECT_EQ(ReadBytes(defaults), DefaultConvFileBytes());

  TCategoryList table;
  ASSERT_FALSE(ReadConvFile(defaults, table).has_value());
  ASSERT_EQ(table.Count(), 11);
  TRecList& angles = table.At(0).list;
  angles.Unit(angles.FindUnit("degrees")).point = {1, 2, {}};
  const std::string copy = folder / "copy.cnv";
  ASSERT_FALSE(WriteConvFile(copy, table).has_value());
  const std::string written = ReadBytes(copy);
  EXPECT_EQ(
      written.rfind("[Angles]\r\n1=pi radians : degrees : x*180 : x/180 : 674 : 287 : 1 : 2\r\n"
                    "2=pi radians : gradients : ",
                    0),
      0u);
  // Written without the empty lines of the default file.
  EXPECT_NE(written.find("x/90 : 254 : 284 : 1 : 2\r\n[Bits & Bytes]\r\n"), std::string::npos);

  TCategoryList reread;
  ASSERT_FALSE(ReadConvFile(copy, reread).has_value());
  EXPECT_EQ(WriteSections(reread).size(), 11u);
  ASSERT_FALSE(WriteConvFile(folder / "again.cnv", reread).has_value());
  EXPECT_EQ(ReadBytes(folder / "again.cnv"), written);
}

TEST(ConversionFileTest, KeyLinesInAnyOrderWithCommentsAndOddLinesRead) {
  TTempFolder folder;
  WriteBytes(folder / "odd.cnv",
             "; my units\n[Time]\n7=h : min : x*60 : x/60 : 1 : 2 : 3 : 4\nno equals sign\n"
             "; 2=a : b : x : x\n=min : s : x*60 : x/60\n[time]\nx=day : h : x*24 : x/24\n");
  TCategoryList table;
  ASSERT_FALSE(ReadConvFile(folder / "odd.cnv", table).has_value());
  ASSERT_EQ(table.Count(), 1);
  const TRecList& time = table.At(0).list;
  EXPECT_EQ(time.Definitions.size(), 3u);
  EXPECT_EQ(time.UnitCount(), 4);  // day, h, min, s
  EXPECT_EQ(time.Unit(time.FindUnit("min")).point.x, 3);
}

// Damaged ".cnv" files: bytes that are no text leave the table as it was; otherwise each line
// that still names two units is a definition, and a coordinate that is no integer is 0.
TEST(ConversionFileTest, DamagedFilesKeepTheTableOrGiveTheDefinitionsTheyStillHold) {
  const std::string good =
      "[Time]\r\n1=h : min : x*60 : x/60 : 1 : 2 : 3 : 4\r\n2=min : s : x*60 : x/60\r\n";
  struct TRow {
    std::string name;
    std::string bytes;
    int definitions;  // -1 when the file is refused
  };
  std::vector<TRow> rows = {
      {"empty", "", 0},
      {"a NUL byte", app::WithNul(good), -1},
      {"an image", app::kImageBytes, -1},
      {"CR-only line ends", app::WithCrOnly(good), 2},
      {"a definition cut after its units", "[Time]\r\n1=h : min", 0},
      {"a definition with one unit", "[Time]\r\n1=h\r\n2= : s : x : x\r\n", 0},
      {"a definition before any category", "1=h : min : x*60 : x/60\r\n[Time]\r\n", 0},
      {"coordinates that are no numbers",
       "[Time]\r\n1=h : min : x : x : a : 1.5 : 1e3 : 2147483648\r\n", 1},
      {"UTF-8 accents",
       "[Temp\xC3\xA9rature]\r\n1=\xC2\xB0"
       "C : K : x+273 : x-273\r\n",
       1},
      {"a 1 MB line", "[Time]\r\n1=h : min : " + std::string(app::kMegabyte, '1') + " : x\r\n", 1},
  };
  int lines = 0;
  for (auto& [name, bytes] : app::CutsAfterEachLine(good))
    rows.push_back({name, bytes, lines++});
  TTempFolder folder;
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    TCategoryList table;
    LoadDefaultTable(table);
    WriteBytes(folder / "damaged.cnv", row.bytes);
    const std::optional<std::string> message = ReadConvFile(folder / "damaged.cnv", table);
    if (row.definitions < 0) {
      EXPECT_EQ(message, "Cannot read " + (folder / "damaged.cnv") + ": Not a text file");
      EXPECT_EQ(table.Count(), 11) << "the table in memory stays";
      continue;
    }
    ASSERT_EQ(message, std::nullopt);
    int definitions = 0;
    for (std::int32_t c = 0; c < table.Count(); ++c)
      definitions += static_cast<int>(table.At(c).list.Definitions.size());
    EXPECT_EQ(definitions, row.definitions);
  }
  TCategoryList table;
  WriteBytes(folder / "odd.cnv", rows[7].bytes);
  ASSERT_EQ(ReadConvFile(folder / "odd.cnv", table), std::nullopt);
  const TRecList& time = table.At(0).list;
  EXPECT_EQ(time.Unit(time.FindUnit("h")).point.x, 0);
  EXPECT_EQ(time.Unit(time.FindUnit("h")).point.y, 0);
  EXPECT_EQ(time.Unit(time.FindUnit("min")).point.y, 0) << "beyond 32 bits";
  WriteBytes(folder / "accents.cnv", rows[8].bytes);
  ASSERT_EQ(ReadConvFile(folder / "accents.cnv", table), std::nullopt);
  EXPECT_EQ(table.At(0).name, "Temp\xE9rature");
  EXPECT_GE(table.At(0).list.FindUnit("\xB0"
                                      "C"),
            0);
}

TEST(ConversionFileTest, AnUnreadableFileKeepsTheTableInMemory) {
  TTempFolder folder;
  TCategoryList table;
  LoadDefaultTable(table);
  const std::optional<std::string> message = ReadConvFile(folder / "missing.cnv", table);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->rfind("Cannot read ", 0), 0u);
  EXPECT_EQ(table.Count(), 11);
  EXPECT_TRUE(ReadConvFile(folder.Path(), table).has_value());  // a folder
  EXPECT_EQ(table.Count(), 11);
  const std::optional<std::string> refused = WriteConvFile(folder / "no/such/dir.cnv", table);
  ASSERT_TRUE(refused.has_value());
  EXPECT_EQ(refused->rfind("Cannot write ", 0), 0u);
}

TEST(ConversionFileTest, ReadFromConvFileFallsBackToTheDefaultFile) {
  TTempFolder folder;
  TRecordingPrompt prompt;
  TUnitConversion conversion(prompt);
  const std::string defaults = folder / "calculator.cnv";

  std::string path = folder / "gone.cnv";
  EXPECT_FALSE(conversion.ReadFromConvFile(path, defaults));
  EXPECT_EQ(path, "");  // neither file exists
  EXPECT_FALSE(conversion.Loaded());

  // At start-up the default file is written when no file can be found, then read.
  conversion.ReadAtStartUp(path, defaults);
  EXPECT_EQ(path, defaults);
  EXPECT_TRUE(conversion.Loaded());
  EXPECT_EQ(conversion.Table().Count(), 11);
  EXPECT_EQ(ReadBytes(defaults), DefaultConvFileBytes());

  WriteBytes(folder / "mine.cnv", "[Length]\r\n1=m : cm : x*100 : x/100\r\n");
  path = folder / "mine.cnv";
  ASSERT_TRUE(conversion.Check());
  EXPECT_TRUE(conversion.ReadFromConvFile(path, defaults));
  EXPECT_TRUE(conversion.Locked());
  EXPECT_EQ(conversion.Table().Count(), 1);
  path = "";
  EXPECT_TRUE(conversion.ReadFromConvFile(path, defaults));
  EXPECT_EQ(path, defaults);
  EXPECT_EQ(conversion.Table().Count(), 11);
  EXPECT_TRUE(prompt.messages.empty());

  // The default file is written again over an edited one.
  WriteBytes(defaults, "[X]\r\n");
  ASSERT_TRUE(conversion.WriteToDefConvFile(path, defaults));
  EXPECT_EQ(ReadBytes(defaults), DefaultConvFileBytes());
  EXPECT_FALSE(conversion.WriteToConvFile(folder / "no/such/dir.cnv"));
  ASSERT_EQ(prompt.messages.size(), 1u);
}

}  // namespace
}  // namespace conversion
