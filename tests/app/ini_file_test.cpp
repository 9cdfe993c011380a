// The ordered INI module: files it wrote read back byte for byte, hand-written files read by the
// stated rules, edits that keep the file's structure, and unreadable files.
#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/damaged_files.h"
#include "temp_folder.h"

namespace app {
namespace {

TEST(IniFile, AFileItWroteRoundTripsByteForByte) {
  TIniFile file;
  TIniSection& properties = file.AddSection("Properties");
  properties.AddEntry("1", "Atomic Weight");
  properties.AddLine("");
  TIniSection& constants = file.AddSection("Physical constants");
  constants.AddLine("Speed_of_light_in_vacuum = 299792458 //(m/s)");
  constants.AddLine("Rydberg_constant = 10973731.534 // (1/m)");
  constants.AddEntry("Ratio", "a=b=c ");
  constants.AddEntry("Latin", "\xB5m \xE9t\xE9");  // Latin-1 bytes, not UTF-8
  constants.AddLine("");
  file.AddSection("Empty");
  file.SetValue("Paths", "FilePath", "/home/user/my file.txt");

  const std::string bytes = file.ToBytes();
  EXPECT_EQ(bytes,
            "[Properties]\r\n1=Atomic Weight\r\n\r\n"
            "[Physical constants]\r\n"
            "Speed_of_light_in_vacuum = 299792458 //(m/s)\r\n"
            "Rydberg_constant = 10973731.534 // (1/m)\r\n"
            "Ratio=a=b=c \r\nLatin=\xB5m \xE9t\xE9\r\n\r\n"
            "[Empty]\r\n[Paths]\r\nFilePath=/home/user/my file.txt\r\n");
  const TIniFile read = TIniFile::FromBytes(bytes);
  EXPECT_EQ(read.ToBytes(), bytes);
  EXPECT_EQ(read.SectionNames(),
            (std::vector<std::string>{"Properties", "Physical constants", "Empty", "Paths"}));
  EXPECT_EQ(read.Value("physical CONSTANTS", "ratio"), "a=b=c ");
  EXPECT_EQ(read.Value("Physical constants", "Latin"), "\xB5m \xE9t\xE9");

  TTempFolder folder;
  ASSERT_FALSE(file.Save(folder / "t.ini").has_value());
  EXPECT_EQ(ReadBytes(folder / "t.ini"), bytes);
  std::string error;
  const std::optional<TIniFile> fromDisk = TIniFile::FromFile(folder / "t.ini", error);
  ASSERT_TRUE(fromDisk.has_value()) << error;
  EXPECT_EQ(fromDisk->ToBytes(), bytes);
}

TEST(IniFile, AHandWrittenFileIsReadByTheStatedRules) {
  const std::string text =
      "written by hand\n"
      "stray=before any section\n"
      "  [ Physical constants ]  \n"
      "Planck_constant = 6.6260754E-034 //(J*s)\n"
      "\n"
      "; Avogadro_constant = 1 //(commented out)\n"
      "# another=comment\n"
      "a line without an equals sign\n"
      "Formula=x=y+1\n"
      "planck_constant=second of the same key\n"
      " Spaced key =  value with blanks  \n"
      "[Units]\r\n"
      "1=amu\r\n"
      "=no key\n"
      "[units]\n"
      "last=no line end";
  const TIniFile file = TIniFile::FromBytes(text);

  EXPECT_EQ(file.LinesBeforeFirstSection(),
            (std::vector<std::string>{"written by hand", "stray=before any section"}));
  EXPECT_EQ(file.SectionNames(),
            (std::vector<std::string>{"Physical constants", "Units", "units"}));
  const TIniSection* constants = file.Section("PHYSICAL CONSTANTS");
  ASSERT_NE(constants, nullptr);
  EXPECT_EQ(constants->Lines().size(), 8u) << "every line is kept, comments and blanks too";
  const std::vector<TIniEntry> entries = constants->Entries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].key, "Planck_constant ");
  EXPECT_EQ(entries[0].value, " 6.6260754E-034 //(J*s)");
  EXPECT_EQ(entries[1].value, "x=y+1");
  EXPECT_EQ(entries[3].key, " Spaced key ");
  EXPECT_EQ(entries[3].value, "  value with blanks  ");
  EXPECT_EQ(constants->Value("planck_constant"), " 6.6260754E-034 //(J*s)") << "first one counts";
  EXPECT_EQ(constants->Value("Spaced key"), "  value with blanks  ");
  EXPECT_FALSE(constants->Value("Avogadro_constant").has_value());
  EXPECT_FALSE(constants->Value("another").has_value());
  EXPECT_FALSE(file.Value("Physical constants", "stray").has_value());
  EXPECT_EQ(file.Value("Units", ""), "no key");
  EXPECT_FALSE(file.Value("Units", "last").has_value()) << "the second [units] is not looked in";
  EXPECT_EQ(file.Sections()[2].Value("last"), "no line end");
  EXPECT_EQ(file.Section("Missing"), nullptr);

  // Written back: the same lines in the same order, each ended by CR LF, the header as written
  // by this module.
  std::string expected;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) expected += '\r';
    expected += text[i];
  }
  expected += "\r\n";
  expected.replace(expected.find("  [ Physical constants ]  "), 26, "[Physical constants]");
  EXPECT_EQ(file.ToBytes(), expected);
}

TEST(IniFile, EditsKeepTheOrderAndTheStructure) {
  TIniFile file =
      TIniFile::FromBytes("[FormPos]\r\nTop = 5\r\nLeft=7\r\n[View]\r\nStayOnTop=1\r\n");
  file.SetValue("formpos", "TOP", "12");
  file.SetValue("FormPos", "Width", "300");
  EXPECT_EQ(&file.AddSection("view"), file.Section("View")) << "no second [View]";
  EXPECT_TRUE(file.Section("View")->EraseKey("stayontop"));
  EXPECT_FALSE(file.Section("View")->EraseKey("StayOnTop"));
  EXPECT_EQ(file.ToBytes(), "[FormPos]\r\nTop =12\r\nLeft=7\r\nWidth=300\r\n[View]\r\n");

  // A line break inside a value cannot start a new line, let alone a section.
  file.SetValue("View", "Note", "one\r\n[Injected]\nthree");
  const TIniFile read = TIniFile::FromBytes(file.ToBytes());
  EXPECT_EQ(read.SectionNames(), (std::vector<std::string>{"FormPos", "View"}));
  EXPECT_EQ(read.Value("View", "Note"), "one  [Injected] three");

  EXPECT_TRUE(file.EraseSection("FORMPOS"));
  EXPECT_FALSE(file.EraseSection("FormPos"));
  EXPECT_EQ(file.SectionNames(), std::vector<std::string>{"View"});
  EXPECT_EQ(TIniFile::FromBytes("").ToBytes(), "");
}

TEST(IniFile, AFileThatCannotBeReadGivesTheReason) {
  TTempFolder folder;
  std::string error;
  EXPECT_FALSE(TIniFile::FromFile(folder / "missing.ini", error).has_value());
  EXPECT_EQ(error, "Cannot read " + (folder / "missing.ini") + ": No such file or directory");
  EXPECT_FALSE(TIniFile::FromFile(folder.Path(), error).has_value());
  EXPECT_EQ(error, "Cannot read " + folder.Path() + ": Is a directory");
  const std::string huge = folder / "huge.ini";
  WriteBytes(huge, "[a]\r\n");
  std::filesystem::resize_file(huge, TIniFile::kMaxIniBytes + 1);
  EXPECT_FALSE(TIniFile::FromFile(huge, error).has_value());
  EXPECT_EQ(error, "Cannot read " + huge + ": File too large");
}

// What every ini-based file (settings, ".cnv", ".con", ".pte") does with damaged bytes: no text
// is refused whole, anything else is read line by line; UTF-8 from another editor reads as the
// characters it encodes when they all exist in single-byte text, and as its bytes otherwise.
TEST(IniFile, DamagedFilesAreRefusedWhenNoTextAndOtherwiseReadLineByLine) {
  const std::string good = "[A]\r\nk=v\r\n[B]\r\nn=1\r\n";
  const std::string big(kMegabyte, 'x');
  struct TRow {
    std::string name;
    std::string bytes;
    std::string sections;  // "A=k:v" per section, or "refused"
  };
  std::vector<TRow> rows = {
      {"empty", "", ""},
      {"a NUL byte", WithNul(good), "refused"},
      {"an image", kImageBytes, "refused"},
      {"CR-only line ends", WithCrOnly(good), "A=k:v B=n:1 "},
      {"a lone CR among LF line ends", "[A]\nk=v\rw\n", "A=k:v\rw "},
      {"UTF-8 accents", "[Caf\xC3\xA9]\r\nk=\xC2\xB5m\r\n", "Caf\xE9=k:\xB5m "},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF[A]\r\nk=v\r\n", "A=k:v "},
      {"UTF-8 beyond single-byte text", "[A]\r\nk=\xC3\xA9\xCE\xA9\r\n", "A=k:\xC3\xA9\xCE\xA9 "},
      {"single-byte accents", "[A]\r\nk=\xE9t\xE9\r\n", "A=k:\xE9t\xE9 "},
      {"a 1 MB line", "[A]\r\nk=" + big, "A=k:" + big + " "},
      {"\"]\" first", "][A]\r\nk=v\r\n", ""},
  };
  const std::string cut[] = {"A= ", "A=k:v ", "A=k:v B= "};
  std::size_t lines = 0;
  for (auto& [name, bytes] : CutsAfterEachLine(good))
    rows.push_back({name, bytes, cut[lines++]});
  TTempFolder folder;
  const std::string path = folder / "damaged.ini";
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    WriteBytes(path, row.bytes);
    std::string error;
    const std::optional<TIniFile> file = TIniFile::FromFile(path, error);
    if (row.sections == "refused") {
      EXPECT_FALSE(file);
      EXPECT_EQ(error, "Cannot read " + path + ": Not a text file");
      continue;
    }
    ASSERT_TRUE(file) << error;
    std::string sections;
    for (const TIniSection& section : file->Sections()) {
      sections += section.Name() + "=";
      for (const TIniEntry& entry : section.Entries())
        sections += entry.key + ":" + entry.value;
      sections += " ";
    }
    EXPECT_EQ(sections, row.sections);
  }
}

}  // namespace
}  // namespace app
