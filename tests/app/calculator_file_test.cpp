// Calculator files, history entries, the log and the settings file: the writer and the brace
// reader, ReadDatas with its messages, the history's steps and the settings' reading rules.
#include <gtest/gtest.h>

#include "app/calculator_file.h"
#include "app/calculator_session.h"
#include "app/history.h"
#include "app/ini_file.h"
#include "app/memo_text.h"
#include "app/settings_file.h"
#include "evaluator/text_utils.h"
#include "support/damaged_files.h"
#include "support/save_faults.h"
#include "support/scripted_prompt.h"
#include "temp_folder.h"

namespace app {
namespace {

using evaluator::TEvalValue;

// The smallest constant list that keeps ConstantsEval in step with its rows.
class TPlainConstants : public TConstantTable {
 public:
  explicit TPlainConstants(TCalculatorCore& core) : core_(core) { Reset(); }
  std::int32_t Count() const override { return static_cast<std::int32_t>(rows_.size()); }
  TConstantEntry Entry(std::int32_t row) const override {
    return rows_[static_cast<std::size_t>(row - 1)];
  }
  void Reset() override {
    rows_.clear();
    for (const char* name : {"FROM", "TO", "STEP", "COLWIDTH", "DETTOLERANCE"}) {
      rows_.push_back({name, "_" + evaluator::ToLowerAscii(name), "Internal constant"});
    }
    Parse();
  }
  // Stores the expression as the edit window reads its memo: trimmed, on one line.
  bool Store(std::int32_t row, const TConstantEntry& given) override {
    TConstantEntry entry = given;
    entry.expression = MemoAsOneLine(entry.expression);
    if (row == Count() + 1) {
      rows_.push_back(entry);
    } else {
      rows_[static_cast<std::size_t>(row - 1)] = entry;
    }
    Parse();
    return true;
  }
  void Refresh() override { core_.ConstantsEval->DoVectorOfMathExpressions(); }

 private:
  void Parse() {
    std::string text;
    for (const TConstantEntry& row : rows_) {
      if (!text.empty()) text += ',';
      text += evaluator::ToLowerAscii(row.name) + "=" + row.expression;
    }
    evaluator::TTalvekComplexEval& eval = *core_.ConstantsEval;
    eval.FixDigitEndingNames = eval.FixLetterEndingNames = false;
    eval.VerifySyntaxSemanticsAutoVar(text);
    eval.DoVectorOfMathExpressions();
    eval.FixDigitEndingNames = eval.FixLetterEndingNames = true;
  }
  TCalculatorCore& core_;
  std::vector<TConstantEntry> rows_;
};

class TTextPanes : public TCalculatorPanes {
 public:
  explicit TTextPanes(TCalculatorCore& core) : core_(core) {}
  std::string DefinitionsText() const override { return definitions; }
  std::string ExpressionsText() const override { return expressions; }
  bool ShowDefinitions(const std::string& text) override {
    definitions = text;
    return core_.DefinitionsPass(text);
  }
  void ShowExpressions(const std::string& text, bool run) override {
    expressions = text;
    if (run) core_.ExpressionsPass(text, definitions);
  }
  std::string definitions;
  std::string expressions;

 private:
  TCalculatorCore& core_;
};

class SessionTest : public ::testing::Test {
 protected:
  TScriptedPrompt prompt_;
  TCalculatorCore core_{prompt_};
  TPlainConstants constants_{core_};
  TTextPanes panes_{core_};
  TTempFolder folder_;
  TCalculatorSession session_{core_, constants_, panes_, prompt_, folder_ / "calculator.log"};

  // Reads `text` as a file would be read.
  bool ReadFile(const std::string& text) {
    WriteBytes(folder_ / "state.txt", text);
    session_.CalcFileName = folder_ / "state.txt";
    session_.HasCalcFile = true;
    return session_.CitesteFisier();
  }
};

constexpr const char* kStartText =
    "Constants\r\n{\r\n"
    "FROM = _from //Internal constant;\r\nTO = _to //Internal constant;\r\n"
    "STEP = _step //Internal constant;\r\nCOLWIDTH = _colwidth //Internal constant;\r\n"
    "DETTOLERANCE = _dettolerance //Internal constant;\r\n}\r\n\r\n"
    "Function variable\r\n{\r\nx\r\n}\r\n\r\n"
    "User definitions\r\n{\r\nf(x)~Sin(x),\r\ny=1/3\r\n}\r\n\r\n"
    "Mathematical expression\r\n{\r\ny*3\r\n}\r\n";

TEST_F(SessionTest, WritesTheFourSectionsAndReadsThemBack) {
  panes_.definitions = "  f(x)~Sin(x),\ny=1/3 \n";
  panes_.expressions = "y*3";
  EXPECT_EQ(session_.ScrieString(), kStartText);

  constants_.Store(6, {"g", "9.81", " gravity "});
  constants_.Store(7, {"h", "2*g", "  "});
  session_.CalcFileName = folder_ / "a.txt";
  session_.HasCalcFile = true;
  ASSERT_TRUE(session_.ScrieFisier());
  const std::string bytes = ReadBytes(folder_ / "a.txt");
  EXPECT_NE(bytes.find("g = 9.81 // gravity ;\r\nh = 2*g;\r\n}"), std::string::npos);

  // Read back into a fresh state: the same constants, panes and results, and the same bytes.
  constants_.Reset();
  panes_.definitions.clear();
  panes_.expressions.clear();
  ASSERT_TRUE(session_.CitesteFisier());
  EXPECT_EQ(constants_.Count(), 7);
  EXPECT_EQ(constants_.Entry(6).comment, " gravity ");
  EXPECT_EQ(panes_.definitions, "f(x)~Sin(x),\r\ny=1/3\r\n");
  EXPECT_EQ(core_.Results(), std::vector<std::string>{"1"});
  ASSERT_TRUE(session_.ScrieFisier());
  EXPECT_EQ(ReadBytes(folder_ / "a.txt"), bytes);
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST(CalculatorFile, BlocksAreTakenByPositionAndMustBalance) {
  const auto sections = ReadCalculatorText("z{a=1;}y{x}{d}{e}{dropped? no: fifth");
  EXPECT_FALSE(sections) << "five opened, four closed";
  const auto reordered = ReadCalculatorText("Expressions{ 1+1 }Constants{a=1;}{x}{y=2}");
  ASSERT_TRUE(reordered);
  EXPECT_EQ(reordered->constants, "1+1") << "the first block is the constants, whatever its title";
  EXPECT_EQ(reordered->expressions, "y=2");
  EXPECT_FALSE(ReadCalculatorText("}{a}{b}{c}{d}")) << "a close before any open";
  EXPECT_FALSE(ReadCalculatorText(""));
  EXPECT_FALSE(ReadCalculatorFileText(""));
  EXPECT_FALSE(ReadCalculatorText("{a}{b}{c}"));
  // Characters of a fifth block are dropped; the counts must still be four.
  EXPECT_FALSE(ReadCalculatorText("{a}{b}{c}{d}{e}"));
  // A file keeps the line breaks of a block of several lines, not of its blank lines.
  const auto file = ReadCalculatorFileText("{\n\na;\r\n}\n{x}\n{\nl1\n  \nl2\n}{e}");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->constants, "a;\r\n");
  EXPECT_EQ(file->definitions, "l1\r\n  l2\r\n");
}

TEST_F(SessionTest, BadConstantItemsAreReportedOnceEachAndTheRestApplied) {
  ReadFile(
      "{FROM = -5; TO = 5; from = 1; nonsense; a = 1 //one b = 2; c = 3 //three;"
      "step = 0.5; tail without semicolon}{x}{}{from}");
  EXPECT_EQ(prompt_.messages,
            (std::vector<std::string>{"Doublecating variable name : from",
                                      "Bad constants section : missing '=' :  nonsense",
                                      "Bad constants section : missing ';' :  1 //one b = 2",
                                      "Bad constants section : missing ';' :  tail without "
                                      "semicolon"}));
  EXPECT_EQ(constants_.Entry(1).expression, "-5") << "the first FROM is kept";
  EXPECT_EQ(constants_.Count(), 6);
  EXPECT_EQ(constants_.Entry(6).name, "c");
  EXPECT_EQ(constants_.Entry(6).comment, "three");
  // The first five constants feed the settings.
  EXPECT_EQ(core_.GetSetting(stFrom), -5);
  EXPECT_EQ(core_.GetSetting(stTo), 5);
  EXPECT_EQ(core_.GetSetting(stStep), 0.5);
  EXPECT_EQ(core_.Results(), std::vector<std::string>{"-5"});
}

TEST_F(SessionTest, ABadFileAppliesNothingAndClosesTheFile) {
  panes_.expressions = "kept";
  EXPECT_FALSE(ReadFile("Constants\r\n{\r\n}\r\n"));
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Bad file format"});
  EXPECT_FALSE(session_.HasCalcFile);
  EXPECT_EQ(panes_.expressions, "kept");
  EXPECT_TRUE(session_.History().Entries().empty());
}

// Every damaged form is refused whole with "Bad file format", or read as the text it holds.
TEST_F(SessionTest, DamagedFilesAreRefusedWholeOrReadAsTheyStand) {
  const std::string big(kMegabyte - 64, 'x');
  const std::string withoutDefinitions =
      "Constants\r\n{\r\n}\r\nFunction variable\r\n{\r\nx\r\n}\r\n"
      "Mathematical expression\r\n{\r\ny*3\r\n}\r\n";
  struct TRow {
    std::string name;
    std::string bytes;
    bool accepted;
    std::string message = "Bad file format";
  };
  std::vector<TRow> rows = {
      {"empty", "", false},
      {"a block missing", withoutDefinitions, false},
      {"a block more", std::string(kStartText) + "{\r\n}\r\n", false},
      {"\"}\" first", "}\r\n" + std::string(kStartText), false},
      {"a NUL byte", WithNul(kStartText), false},
      {"an image", kImageBytes, false},
      {"CR-only line ends", WithCrOnly(kStartText), true},
      {"UTF-8 accents",
       "{FROM = 1 //Temp\xC3\xA9rature \xC2\xB0"
       "C;}{x}{y=1/3}{y*3}",
       true},
      {"a 1 MB line", "{FROM = 1 //" + big + ";}{x}{y=1/3}{y*3}", true},
      {"more than a calculator file holds", std::string(kMaxCalculatorFileBytes + 1, ' '), false,
       "Cannot read " + (folder_ / "state.txt") + ": File too large"},
  };
  for (auto& [name, bytes] : CutsAfterEachLine(kStartText))
    rows.push_back({name, bytes, false});
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    constants_.Reset();
    panes_.definitions = "kept";
    panes_.expressions = "kept";
    prompt_.messages.clear();
    EXPECT_EQ(ReadFile(row.bytes), row.accepted);
    if (!row.accepted) {
      EXPECT_EQ(prompt_.messages, std::vector<std::string>{row.message});
      EXPECT_EQ(panes_.expressions, "kept");
      EXPECT_EQ(constants_.Entry(1).expression, "_from");
      continue;
    }
    EXPECT_TRUE(prompt_.messages.empty());
    EXPECT_EQ(panes_.expressions.substr(0, 3), "y*3");
  }
  // Accents written as UTF-8 by another editor read as the characters the user typed.
  ReadFile(rows[7].bytes);
  EXPECT_EQ(constants_.Entry(1).comment,
            "Temp\xE9rature \xB0"
            "C");
  ReadFile(rows[8].bytes);
  EXPECT_EQ(constants_.Entry(1).comment.size(), big.size());
}

// Regression: a brace in a pane or a comment was written into a file that could never be read
// back, so the user's saved work was lost.
TEST_F(SessionTest, AStateHoldingABraceIsNotSavedAndTheOldFileStays) {
  const std::string path = folder_ / "work.txt";
  WriteBytes(path, kStartText);
  session_.CalcFileName = path;
  session_.HasCalcFile = true;
  panes_.definitions = "y=1 // {note}";
  EXPECT_FALSE(session_.ScrieFisier());
  ASSERT_EQ(prompt_.messages.size(), 1u);
  EXPECT_NE(prompt_.messages[0].find("\"User definitions\""), std::string::npos);
  EXPECT_EQ(ReadBytes(path), kStartText);
  panes_.definitions = "y=1";
  constants_.Store(6, {"k", "1", "a } b"});
  EXPECT_FALSE(session_.ScrieFisier());
  EXPECT_NE(prompt_.messages.back().find("\"Constants\""), std::string::npos);

  // Text that would split a constant elsewhere when read back is refused the same way.
  for (const TConstantEntry& entry :
       {TConstantEntry{"k", "1", "mass; in kg"}, TConstantEntry{"k", "1", "a = b"},
        TConstantEntry{"k", "1 // 2", ""}}) {
    constants_.Reset();
    constants_.Store(6, entry);
    EXPECT_FALSE(session_.ScrieFisier()) << entry.comment;
    EXPECT_NE(prompt_.messages.back().find("in the constant k"), std::string::npos);
  }
  EXPECT_EQ(ReadBytes(path), kStartText);

  // A folder where the file should be: the save fails with the system's reason.
  constants_.Reset();
  session_.CalcFileName = folder_.Path();
  EXPECT_FALSE(session_.ScrieFisier());
  EXPECT_EQ(prompt_.messages.back().rfind("Cannot write " + folder_.Path() + ": ", 0), 0u);
  EXPECT_FALSE(session_.HasCalcFile);
}

TEST_F(SessionTest, HistoryRecordsNewStatesOnceAndStepsBetweenThem) {
  panes_.expressions = "1+1";
  EXPECT_TRUE(session_.AddHistory());
  EXPECT_FALSE(session_.History().UndoEnabled()) << "one entry: nothing to undo";
  EXPECT_FALSE(session_.AddHistory()) << "the same state twice";
  panes_.expressions = "SIN(1)";
  EXPECT_TRUE(session_.AddHistory());
  panes_.expressions = "sin(1)";
  EXPECT_FALSE(session_.AddHistory()) << "states differing in case only are one";
  EXPECT_EQ(session_.History().Index(), 1);
  EXPECT_TRUE(session_.History().UndoEnabled());

  EXPECT_TRUE(session_.Undo());
  EXPECT_EQ(panes_.expressions, "1+1");
  EXPECT_EQ(core_.Results(), std::vector<std::string>{"2"});
  EXPECT_EQ(session_.History().IndexText(), "History Index: 0");
  EXPECT_FALSE(session_.History().UndoEnabled());
  EXPECT_TRUE(session_.History().RedoEnabled());
  EXPECT_EQ(session_.History().Entries().size(), 2u) << "applying records nothing";

  // After an undo a new state goes to the end, and there is nothing to redo.
  panes_.expressions = "3";
  EXPECT_TRUE(session_.AddHistory());
  EXPECT_EQ(session_.History().Index(), 2);
  EXPECT_FALSE(session_.History().RedoEnabled());
  EXPECT_TRUE(session_.Undo());
  EXPECT_EQ(panes_.expressions, "SIN(1)");
  EXPECT_TRUE(session_.Redo());
  EXPECT_EQ(panes_.expressions, "3");
  EXPECT_FALSE(session_.History().RedoEnabled());

  // Three records in the log, each of four parts.
  const std::string log = ReadBytes(folder_ / "calculator.log");
  std::size_t records = 0;
  for (std::size_t at = log.find(std::string(65, '=') + "\r\n"); at != std::string::npos;
       at = log.find(std::string(65, '=') + "\r\n", at + 1)) {
    ++records;
  }
  EXPECT_EQ(records, 3u);
  EXPECT_NE(log.find("\r\n\r\nConstants\r\n{\r\n"), std::string::npos);

  session_.ClearHistory();
  EXPECT_EQ(session_.History().IndexText(), "History Index: 0");
  EXPECT_FALSE(session_.History().UndoEnabled());
  EXPECT_FALSE(session_.History().RedoEnabled());
  EXPECT_FALSE(session_.Undo());
}

// The calculator file, the settings and the log each reach the disk their own way; a failed
// write of any of them keeps what the file held and tells the user.
TEST_F(SessionTest, FailedSavesOfTheFileTheSettingsAndTheLogKeepWhatWasThere) {
  panes_.expressions = "1+1";
  const auto lastMessage = [this] {
    std::string last = prompt_.messages.empty() ? "" : prompt_.messages.back();
    prompt_.messages.clear();
    return last;
  };
  ExpectSavesKeepTheOldFile("work.txt", [&](const std::string& path) {
    session_.CalcFileName = path;
    session_.HasCalcFile = true;
    EXPECT_FALSE(session_.ScrieFisier());
    EXPECT_FALSE(session_.HasCalcFile) << "\"&Save\" waits for a file chosen again";
    return lastMessage();
  });
  ExpectSavesKeepTheOldFile("calculator.ini", [](const std::string& path) {
    return WriteSettings(TWindowSettings{}).Save(path).value_or("");
  });
  int state = 0;
  ExpectSavesKeepTheOldFile(
      "calculator.log",
      [&](const std::string& path) {
        TCalculatorSession logging(core_, constants_, panes_, prompt_, path);
        panes_.expressions = std::to_string(++state);
        EXPECT_TRUE(logging.AddHistory()) << "the state is still recorded";
        return lastMessage();
      },
      TSaveKind::tAppend);
}

TEST(SettingsFile, WritesTheThreeSectionsAndReadsThemBack) {
  TWindowSettings settings;
  settings.top = 10;
  settings.left = -20;
  settings.height = 443;
  settings.width = 400;
  settings.memo1Height = 120;
  settings.memo2Height = 90;
  settings.stayOnTop = false;
  settings.currencyType = true;
  settings.filePath = "/home/u/work.txt";
  const std::string bytes = WriteSettings(settings).ToBytes();
  EXPECT_EQ(bytes.rfind("[FormPos]\r\nTop=10\r\nLeft=-20\r\nHeight=443\r\nWidth=400\r\n", 0), 0u);
  EXPECT_NE(bytes.find("[View]\r\nStayOnTop=0\r\nUserFunctions=1\r\nErrorMessage=1\r\n"
                       "CurrencyType=1\r\n[Paths]\r\nFilePath=/home/u/work.txt\r\n"),
            std::string::npos);
  const TWindowSettings back =
      ApplySettings(TWindowSettings{}, ReadSettings(TIniFile::FromBytes(bytes)));
  EXPECT_EQ(back.left, -20);
  EXPECT_EQ(back.memo2Height, 90);
  EXPECT_FALSE(back.stayOnTop);
  EXPECT_TRUE(back.currencyType);
  EXPECT_EQ(back.filePath, "/home/u/work.txt");
}

TEST(SettingsFile, PositionNeedsSixEntriesAndBadValuesAreIgnoredKeyByKey) {
  const TReadSettings five = ReadSettings(TIniFile::FromBytes(
      "[FormPos]\nTop=1\nLeft=2\nHeight=3\nWidth=4\nMemo1Height=5\n[view]\nstayontop=0\n"));
  EXPECT_FALSE(five.top);
  EXPECT_EQ(five.stayOnTop, 0) << "keys and sections match ignoring case";
  const TReadSettings six = ReadSettings(TIniFile::FromBytes(
      "[formpos]\nTOP= 7\nLeft=x\nHeight=3.5\nWidth=99999999999\nMemo1Height=-5\nmemo2height=6\n"
      "[View]\nErrorMessage=yes\nUserFunctions=0\n"));
  EXPECT_EQ(six.top, 7);
  EXPECT_FALSE(six.left);
  EXPECT_FALSE(six.height);
  EXPECT_FALSE(six.width);
  EXPECT_EQ(six.memo1Height, -5);
  EXPECT_EQ(six.memo2Height, 6);
  EXPECT_FALSE(six.errorMessage);
  const TWindowSettings applied = ApplySettings(TWindowSettings{}, six);
  EXPECT_FALSE(applied.userFunctions);
  EXPECT_TRUE(applied.errorMessage);
  EXPECT_EQ(SettingsInteger("-2147483648"), -2147483647 - 1);
  EXPECT_FALSE(SettingsInteger("+-1"));
}

}  // namespace
}  // namespace app
