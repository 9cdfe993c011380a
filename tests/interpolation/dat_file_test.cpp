// Tests of the ".dat" files: the field rules of each line, the written form, round trips in a
// temporary folder, and files that cannot be read.
#include "interpolation/dat_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "../app/temp_folder.h"
#include "evaluator/eval_errors.h"
#include "support/damaged_files.h"
#include "support/save_faults.h"

namespace interpolation {
namespace {

namespace fs = std::filesystem;

class DatFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return folder_ / name; }
  std::string Write(const std::string& name, const std::string& bytes) const {
    app::WriteBytes(PathOf(name), bytes);
    return PathOf(name);
  }

  app::TTempFolder folder_;
};

TEST_F(DatFileTest, LinesSplitIntoOneTwoOrThreeFields) {
  struct TCase {
    const char* line;
    TSheetRow row;
  };
  const TCase cases[] = {
      {"1,2", {"1", "2"}},
      {"  3 , 4\t", {"3", "4"}},
      {"3  1.5  sin(1.5)", {"1.5", "sin(1.5)"}},  // the written form
      {"1 2", {"1", "2"}},
      {"5", {"5", ""}},
      {"", {"", ""}},
      {"1,,2", {"", "2"}},
      {"7, max(1,2)", {"7", "max(1,2)"}},  // commas inside brackets stay in the cell
      {"1  2  max(1, 2)", {"2", "max(1, 2)"}},
      {"1  2  3 * pi", {"2", "3 * pi"}},  // the last field is the rest of the line
      {"1\t2", {"1", "2"}},
      // Regression: a "(" never closed took the rest of the line into its field.
      {"4  (8  ()", {"(8", "()"}},
      {"(8 9", {"(8", "9"}},
      {"1  ((8 9)  2", {"((8 9)", "2"}},
      {"1  )x  2", {")x", "2"}},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(DatLineRow(c.line), c.row) << c.line;
  }
  // Each line is split afresh; CR LF or LF ends a line, and a last line end adds no row.
  EXPECT_EQ(DatFileRows("1,2\r\n3,4\r\n"), (std::vector<TSheetRow>{{"1", "2"}, {"3", "4"}}));
  EXPECT_EQ(DatFileRows("1  5  6\n7 8\n\n9"),
            (std::vector<TSheetRow>{{"5", "6"}, {"7", "8"}, {"", ""}, {"9", ""}}));
  EXPECT_TRUE(DatFileRows("").empty());
}

TEST_F(DatFileTest, SheetsAreWrittenAsNumberXAndFxAndReadBackTheSame) {
  TInterpolationSheet sheet;
  sheet.SetRows({{"0", "0"}, {"1.5", "sin(1.5)"}, {"max(1,2)", "2 * pi"}, {"2 * pi", "1,2"}});
  const std::string path = PathOf("points.dat");
  SaveSheetFile(sheet, path);
  EXPECT_TRUE(sheet.HasFile);
  EXPECT_EQ(sheet.FileName, path);
  EXPECT_EQ(app::ReadBytes(path),
            "1  0  0\r\n2  1.5  sin(1.5)\r\n3  max(1,2)  2 * pi\r\n4  (2 * pi)  (1,2)\r\n");

  TInterpolationSheet read;
  read.DataChanged = read.SplineChanged = false;
  LoadSheetFile(read, path);
  EXPECT_EQ(read.Row(1), sheet.Row(1));
  EXPECT_EQ(read.Row(2), sheet.Row(2));
  // Texts that would split where they are read come back in brackets, with their value kept.
  EXPECT_EQ(read.Row(3), (TSheetRow{"(2 * pi)", "(1,2)"}));
  EXPECT_TRUE(read.HasFile && read.DataChanged && read.SplineChanged);
  EXPECT_EQ(read.FileName, path);

  // An empty cell is written so that the cells after it keep their places.
  TInterpolationSheet gaps;
  gaps.SetRows({{"", "3"}, {"4", ""}});
  SaveSheetFile(gaps, path);
  LoadSheetFile(read, path);
  EXPECT_EQ(read.Rows(), (std::vector<TSheetRow>{{"()", "3"}, {"4", "()"}}));
  // Regression: a cell with a bracket never closed was written so that it read back as the row
  // number, its text moved to f(x) and f(x) lost.
  gaps.SetRows({{"(8", "2"}, {"(8 9", "sin(1"}, {"1)", "(2"}, {"7 max(1", "x"}, {"a )b", "1,2("}});
  SaveSheetFile(gaps, path);
  LoadSheetFile(read, path);
  EXPECT_EQ(read.Rows(), (std::vector<TSheetRow>{{"(8", "2"},
                                                 {"((8 9))", "sin(1"},
                                                 {"1)", "(2"},
                                                 {"(7 max(1))", "x"},
                                                 {"((a )b)", "(1,2())"}}));
  // Saving over a file replaces it and leaves no temporary file behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.Path()), fs::directory_iterator()), 1);
}

TEST_F(DatFileTest, FilesThatCannotBeReadChangeNothing) {
  TInterpolationSheet sheet;
  sheet.SetRows({{"1", "2"}});
  sheet.DataChanged = false;
  try {
    LoadSheetFile(sheet, PathOf("missing.dat"));
    ADD_FAILURE() << "a missing file was read";
  } catch (const evaluator::EEvalError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot read " + PathOf("missing.dat") + ": No such file or directory");
  }
  std::string many;
  for (int r = 0; r <= kMaxSheetRows; ++r)
    many += "1\n";
  EXPECT_THROW(LoadSheetFile(sheet, Write("many.dat", many)), evaluator::EEvalError);
  EXPECT_THROW(LoadSheetFile(sheet, folder_.Path()), evaluator::EEvalError);  // a folder
  EXPECT_THROW(SaveSheetFile(sheet, PathOf("no/such/folder.dat")), evaluator::EEvalError);
  EXPECT_EQ(sheet.Rows(), (std::vector<TSheetRow>{{"1", "2"}}));
  EXPECT_FALSE(sheet.HasFile);
  EXPECT_FALSE(sheet.DataChanged);

  // Bytes that are not text are refused whole rather than read as cells.
  const std::string binary = Write("binary.dat", std::string("\x01\xff,\0x", 5));
  try {
    LoadSheetFile(sheet, binary);
    ADD_FAILURE() << "a binary file was read";
  } catch (const evaluator::EEvalError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot read " + binary + ": Not a text file");
  }
  EXPECT_EQ(sheet.Rows(), (std::vector<TSheetRow>{{"1", "2"}}));
}

// A ".dat" file has no structure beyond its lines: a damaged one is read line by line, unless it
// is no text at all. Cells that are no numbers are kept as they stand; using them tells.
TEST_F(DatFileTest, DamagedFilesAreReadLineByLineUnlessTheyAreNoText) {
  const std::string good = "1  0  0\r\n2  1  1\r\n3  2  4\r\n";
  const std::string big(app::kMegabyte, '1');
  const std::string notText = "Not a text file";
  struct TRow {
    std::string name;
    std::string bytes;
    std::vector<TSheetRow> rows;  // empty when the file is refused
  } fixed[] = {
      {"empty", "", {{"", ""}}},
      {"a NUL byte", app::WithNul(good), {}},
      {"an image", app::kImageBytes, {}},
      {"CR-only line ends", app::WithCrOnly(good), {{"0", "0"}, {"1", "1"}, {"2", "4"}}},
      {"cut inside a line", good.substr(0, 13), {{"0", "0"}, {"2", "1"}}},
      {"coordinates that are no numbers", "1  x\xE9  abc\r\n", {{"x\xE9", "abc"}}},
      {"UTF-8 accents", "1  \xC3\xA9  \xC2\xB5\r\n", {{"\xE9", "\xB5"}}},
      {"a 1 MB line", "1  2  " + big + "\r\n", {{"2", big}}},
  };
  std::vector<TRow> rows(std::begin(fixed), std::end(fixed));
  const std::vector<TSheetRow> whole = {{"0", "0"}, {"1", "1"}, {"2", "4"}};
  std::size_t lines = 0;
  for (auto& [name, bytes] : app::CutsAfterEachLine(good)) {
    ++lines;
    rows.push_back(
        {name, bytes, {whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(lines)}});
  }
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    TInterpolationSheet sheet;
    sheet.SetRows({{"9", "9"}});
    const std::string path = Write("damaged.dat", row.bytes);
    try {
      LoadSheetFile(sheet, path);
      EXPECT_EQ(sheet.Rows(), row.rows);
    } catch (const evaluator::EEvalError& e) {
      EXPECT_TRUE(row.rows.empty()) << e.what();
      EXPECT_EQ(std::string(e.what()), "Cannot read " + path + ": " + notText);
      EXPECT_EQ(sheet.Rows(), (std::vector<TSheetRow>{{"9", "9"}}));
      EXPECT_FALSE(sheet.HasFile);
    }
  }
}

TEST_F(DatFileTest, AFailedSaveKeepsTheOldFileAndTheSheetsFile) {
  TInterpolationSheet sheet;
  sheet.SetRows({{"1", "2"}, {"3", "4"}});
  app::ExpectSavesKeepTheOldFile("sheet.dat", [&](const std::string& path) {
    try {
      SaveSheetFile(sheet, path);
    } catch (const evaluator::EEvalError& e) {
      return std::string(e.what());
    }
    return std::string();
  });
  EXPECT_FALSE(sheet.HasFile) << "a sheet is not bound to a file it could not write";
}

}  // namespace
}  // namespace interpolation
