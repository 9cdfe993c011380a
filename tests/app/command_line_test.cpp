// The command line: its verbs' output and exit codes, the option rules, the window's own
// options, and --data-dir, which never makes the command line touch the calculator's files.
#include "app/command_line/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/command_line/verb.h"
#include "support/command_run.h"
#include "temp_folder.h"

namespace app {
namespace {

TEST(CommandLine, EvalPrintsResultLinesOrTheMessage) {
  const TRun ok = RunCalculator(
      {"--eval", "y*3, Fact(4)", "--defs", "Fact(n)~if(eq(n,0),1,n*Fact(n-1)), y=1/3"});
  EXPECT_EQ(ok.code, 0);
  EXPECT_EQ(ok.out, "1\n24\n");
  const TRun currency = RunCalculator({"--currency", "--eval", "1/3"});
  EXPECT_EQ(currency.out, "0.3333\n");
  const TRun failed = RunCalculator({"--eval", "1/0"});
  EXPECT_EQ(failed.code, 1);
  EXPECT_EQ(failed.out, "Division by 0\n");
  const TRun badDefs = RunCalculator({"--eval", "1", "--defs", "y="});
  EXPECT_EQ(badDefs.code, 1);
  EXPECT_EQ(badDefs.out, "Syntax error : y=\n");
}

TEST(CommandLine, StdinAnswersEveryLineOnce) {
  const TRun run = RunCalculator({"--stdin", "--defs", "a=2"}, "a+1, 3\n1/0\n\n2*a\r\n");
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out,
            "ok\t3\t3\nerror\tDivision by 0\nerror\tMathematical expression is empty\nok\t4\n");
}

TEST(CommandLine, EquivalentAndUsage) {
  EXPECT_EQ(RunCalculator({"--equivalent", "x*2", "x+x"}).out, "Yes\n");
  const TRun syntax = RunCalculator({"--equivalent", "2+", "3"});
  EXPECT_EQ(syntax.out, "Indeterminate\n");
  EXPECT_EQ(syntax.err, "First expression -> Syntax error : 2+\n");
  for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--bogus"},
                                                {"--eval"},
                                                {"--eval", "1", "--mathematica"},
                                                {"--stdin", "--mathematica"},
                                                {"--eval", "1", "--stdin"}}) {
    const TRun run = RunCalculator(wrong);
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("Usage:"), std::string::npos);
  }
  EXPECT_EQ(RunCalculator({"--help"}).code, 0);
  EXPECT_EQ(RunCalculator({"--version"}).out.rfind("calculator ", 0), 0u);
}

TEST(CommandLine, DeriveShowsTheDerivativeOrTheMessage) {
  EXPECT_EQ(RunCalculator({"--derive", "x^2", "--var", "X"}).out, "2*x\n");
  EXPECT_EQ(RunCalculator({"--derive", "x^2*y", "--var", "y", "--mathematica"}).out, "x^2\n");
  const TRun none = RunCalculator({"--derive", "abs(x)", "--var", "x"});
  EXPECT_EQ(none.code, 0) << "no derivative is still an answer";
  EXPECT_EQ(none.out, "nan\n");
  const TRun bad = RunCalculator({"--derive", "x", "--var", "sin"});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.out, "Invalid name of derivative variable :  sin\n");
  EXPECT_EQ(RunCalculator({"--derive", "x"}).code, 2) << "--var is required";
}

// Regression: definitions made only of function definitions made every expression fail.
TEST(CommandLine, FunctionOnlyDefinitionsEvaluate) {
  EXPECT_EQ(RunCalculator({"--defs", "sq(u)~u*u", "--eval", "sq(3)"}).out, "9\n");
  const TRun fact =
      RunCalculator({"--defs", "Fact(n)~if(eq(n,0),1,n*Fact(n-1))", "--eval", "Fact(5)"});
  EXPECT_EQ(fact.code, 0);
  EXPECT_EQ(fact.out, "120\n");
  EXPECT_EQ(RunCalculator({"--eval", "g(t)~t*2"}).out, "Null\n");
}

TEST(CommandLine, DataDirIsTakenByEveryVerbAndWritesNothingThere) {
  TTempFolder folder;
  // A settings file and a log that would break a run if they were read, and must stay as they are.
  WriteBytes(folder / "calculator.ini", "[FormPos]\r\nTop=x\r\n");
  WriteBytes(folder / "calculator.log", "old log\r\n");
  const TRun eval = RunCalculator({"--data-dir", folder.Path(), "--eval", "1+1"});
  EXPECT_EQ(eval.code, 0);
  EXPECT_EQ(eval.out, "2\n");
  EXPECT_EQ(RunCalculator({"--equivalent", "x", "x", "--data-dir", folder.Path()}).out, "Yes\n");
  EXPECT_EQ(RunCalculator({"--data-dir", folder.Path(), "--stdin"}, "3*2\n").out, "ok\t6\n");
  EXPECT_EQ(RunCalculator({"--version", "--data-dir", folder.Path()}).code, 0);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    ++files;
  EXPECT_EQ(files, 2);
  EXPECT_EQ(ReadBytes(folder / "calculator.ini"), "[FormPos]\r\nTop=x\r\n");
  EXPECT_EQ(ReadBytes(folder / "calculator.log"), "old log\r\n");

  // A folder that does not exist is not created by a verb that reads no data file.
  EXPECT_EQ(RunCalculator({"--data-dir", folder / "new", "--eval", "1"}).code, 0);
  EXPECT_FALSE(std::filesystem::exists(folder / "new"));

  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{"--eval", "1", "--data-dir"},
        {"--data-dir", "", "--eval", "1"},
        {"--data-dir", "a", "--data-dir", "b", "--eval", "1"},
        {"--data-dir", folder.Path()}}) {
    const TRun run = RunCalculator(wrong);
    EXPECT_EQ(run.code, 2) << wrong.size();
    EXPECT_NE(run.err.find("--data-dir DIR"), std::string::npos);
  }
}

TEST(CommandLine, WindowStartsWithoutOptionsOrWithItsOwnOnly) {
  EXPECT_TRUE(ReadWindowOptions({}).has_value());
  EXPECT_TRUE(ReadWindowOptions({"notes.txt"}).has_value()) << "a non-option is ignored";
  const std::optional<TWindowOptions> both =
      ReadWindowOptions({"--screenshots", "shots", "--data-dir", "/tmp/d"});
  ASSERT_TRUE(both.has_value());
  EXPECT_EQ(both->dataFolder, "/tmp/d");
  EXPECT_EQ(both->screenshotFolder, "shots");
  for (const std::vector<std::string>& commandLine : {std::vector<std::string>{"--data-dir"},
                                                      {"--data-dir", ""},
                                                      {"--data-dir", "a", "--data-dir", "b"},
                                                      {"--data-dir", "d", "--eval", "1"},
                                                      {"--help"}}) {
    EXPECT_FALSE(ReadWindowOptions(commandLine).has_value()) << commandLine[0];
    EXPECT_TRUE(IsCommandLine(commandLine));
  }
}

TEST(CommandLine, UsageNamesEveryVerb) {
  const std::string usage = UsageText();
  for (const TVerb* verb : VerbTable()) {
    EXPECT_NE(usage.find(std::string(verb->option)), std::string::npos) << verb->option;
  }
  EXPECT_EQ(RunCalculator({"--help"}).out, usage);
}

}  // namespace
}  // namespace app

namespace app {
namespace {

TEST(CommandLineTable, PrintsTheSavedRowsAndWritesTheWorkbook) {
  const TRun run = RunCalculator(
      {"--table", "--from", "0", "--to", "1", "--defs", "f(x)~x*2, c(x)~1/x, h(t)~t"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out.substr(0, run.out.find('\n', run.out.find('\n') + 1) + 1),
            "#,x,f(x),c(x)\n0,0,0,#NUM!\n");
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 12) << "header and 11 rows";
  EXPECT_NE(run.out.find("\n10,1,2,1\n"), std::string::npos);

  EXPECT_EQ(RunCalculator({"--table", "--null", "--var", "T", "--from", "-1", "--to", "0", "--step",
                           "0", "--defs", "c(t)~1/t"})
                .out.substr(0, 23),
            "#,T,c(t)\n0,-1,-1\n1,-0.9")
      << "--var names the variable; a refused step stores 0.1";
  EXPECT_NE(RunCalculator({"--table", "--null", "--from", "0", "--to", "0", "--defs", "c(x)~1/x"})
                .out.find("0,0,Null"),
            std::string::npos);

  const TTempFolder folder;
  const TRun workbook = RunCalculator({"--table", "--xlsx", folder / "t.xlsx", "--to", "-99"});
  EXPECT_EQ(workbook.code, 0) << workbook.err;
  EXPECT_TRUE(std::filesystem::exists(folder / "t.xlsx"));
  const TRun unwritable = RunCalculator({"--table", "--xlsx", folder / "no/t.xlsx"});
  EXPECT_EQ(unwritable.code, 1);
  EXPECT_EQ(unwritable.err.rfind("Cannot write ", 0), 0u);
}

TEST(CommandLineTable, RefusesBadDefinitionsVariablesAndNumbers) {
  const TRun defs = RunCalculator({"--table", "--defs", "f(x)~"});
  EXPECT_EQ(defs.code, 1);
  EXPECT_EQ(defs.out, "Please correct user definitions\n");
  EXPECT_EQ(defs.err, "Syntax error : f(x)~\n");
  const TRun variable = RunCalculator({"--table", "--var", "pi"});
  EXPECT_EQ(variable.code, 1);
  EXPECT_EQ(variable.out, "");
  EXPECT_EQ(variable.err, "Please correct function varable name\n");
  const TRun number = RunCalculator({"--table", "--from", "1e"});
  EXPECT_EQ(number.code, 2);
  EXPECT_EQ(number.err, "--from needs a number, not \"1e\"\n");
  EXPECT_EQ(RunCalculator({"--table", "--mathematica"}).code, 2);
}

TEST(CommandLineFiles, SaveWritesTheStateThatFileReadsBack) {
  TTempFolder folder;
  const std::string saved = folder / "a.txt";
  const TRun save = RunCalculator({"--defs", "y=2", "--eval", "y*3", "--save", saved});
  EXPECT_EQ(save.code, 0);
  EXPECT_EQ(save.out, "");
  EXPECT_NE(ReadBytes(saved).find("User definitions\r\n{\r\ny=2\r\n}\r\n"), std::string::npos);
  EXPECT_EQ(RunCalculator({"--file", saved}).out, "6\n");
  EXPECT_EQ(RunCalculator({"--file", saved, "--eval", "y+1"}).out, "3\n")
      << "the file's definitions";
  EXPECT_EQ(RunCalculator({"--file", saved, "--stdin"}, "y*y\n").out, "ok\t4\n");
  EXPECT_EQ(RunCalculator({"--file", saved, "--table", "--from", "0", "--to", "1", "--step", "1",
                           "--defs", "f(x)~x+y, y=5"})
                .out,
            "#,x,f(x)\n0,0,5\n1,1,6\n");

  // Constants, the function variable and the definitions go into the file together.
  const std::string more = folder / "b.txt";
  EXPECT_EQ(RunCalculator({"--const", "g=9.81", "--var", "t", "--defs", "h=g*2", "--eval", "h",
                           "--save", more})
                .code,
            0);
  const std::string text = ReadBytes(more);
  EXPECT_NE(text.find("\r\ng = 9.81;\r\n}"), std::string::npos);
  EXPECT_NE(text.find("Function variable\r\n{\r\nt\r\n}"), std::string::npos);
  EXPECT_EQ(RunCalculator({"--file", more}).out, "19.62\n");
  EXPECT_EQ(RunCalculator({"--file", more, "--const", "k=10", "--eval", "h*k"}).out, "196.2\n");
}

TEST(CommandLineFiles, BadFilesAndNamesPrintTheirMessageAndNoResults) {
  TTempFolder folder;
  WriteBytes(folder / "bad.txt", "Constants\r\n{\r\n");
  const TRun bad = RunCalculator({"--file", folder / "bad.txt"});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err, "Bad file format\n");
  WriteBytes(folder / "items.txt", "{a=1; b}{x}{}{a}");
  const TRun items = RunCalculator({"--file", folder / "items.txt"});
  EXPECT_EQ(items.out, "1\n");
  EXPECT_EQ(items.err, "Bad constants section : missing ';' :  b\n");
  EXPECT_EQ(RunCalculator({"--file", folder / "none.txt"}).code, 1);

  const TRun variable = RunCalculator({"--var", "sin", "--eval", "1"});
  EXPECT_EQ(variable.code, 1);
  EXPECT_EQ(variable.out, "Please correct function varable name\n");
  // A state that could never be read back is not written.
  const TRun brace = RunCalculator({"--eval", "1 {", "--save", folder / "c.txt"});
  EXPECT_EQ(brace.code, 1);
  EXPECT_FALSE(std::filesystem::exists(folder / "c.txt"));
  EXPECT_EQ(RunCalculator({"--stdin", "--save", folder / "d.txt"}).code, 2);
}

}  // namespace
}  // namespace app
