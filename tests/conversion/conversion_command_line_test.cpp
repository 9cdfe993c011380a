// The conversion verbs of the command line, and "Conv" in --eval and --stdin with the default
// table or a --cnv file.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/command_line/command_line.h"
#include "app/temp_folder.h"

namespace conversion {
namespace {

struct TRun {
  int code;
  std::string out;
  std::string err;
};

TRun Command(const std::vector<std::string>& arguments, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int code = app::RunCommandLine(arguments, in, out, err);
  return {code, out.str(), err.str()};
}

TEST(ConversionCommandLine, ConvertPrintsTheConvertedValue) {
  TRun run = Command(
      {"--convert", "0", "--category", "Temperature", "--from", "Celcius", "--to", "Rankine"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out, "491.67\n");
  EXPECT_EQ(run.err, "");

  // Names ignore case; the text is evaluated with the definitions.
  run = Command({"--convert", "2*y", "--defs", "y=50", "--category", "temperature", "--from",
                 "celcius", "--to", "FAHRENHEIT"});
  EXPECT_EQ(run.out, "212\n");

  run = Command({"--convert", "1", "--category", "Speed", "--from", "a", "--to", "b"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "Unknown unit category : Speed\n");
  run = Command({"--convert", "1", "--category", "Time", "--from", "days", "--to", "weeks"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "Unknown unit : weeks\n");
  run = Command({"--convert", "1/0", "--category", "Time", "--from", "days", "--to", "hours"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err, "");
  EXPECT_EQ(Command({"--convert", "1", "--category", "Time", "--from", "days"}).code, 2);
}

TEST(ConversionCommandLine, ConvertReadsAndChecksTheCnvFile) {
  app::TTempFolder folder;
  app::WriteBytes(folder / "mine.cnv",
                  "[Length]\r\n1=m : cm : x*100 : x/100\r\n2=cm : mm : x*10 : x/10\r\n"
                  "[Broken]\r\n1=a : b : x*( : x\r\n");
  TRun run = Command({"--convert", "2", "--category", "length", "--from", "m", "--to", "mm",
                      "--cnv", folder / "mine.cnv"});
  EXPECT_EQ(run.code, 1);  // the check fails on Broken
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("Error in category : Broken : Row# 1 A => B : ", 0), 0u) << run.err;

  app::WriteBytes(folder / "mine.cnv",
                  "[Length]\r\n1=m : cm : x*100 : x/100\r\n"
                  "2=cm : mm : x*10 : x/10\r\n");
  run = Command({"--convert", "2", "--category", "length", "--from", "m", "--to", "mm", "--cnv",
                 folder / "mine.cnv"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out, "2000\n");

  run = Command({"--units", "--cnv", folder / "mine.cnv"});
  EXPECT_EQ(run.out, "Length\tcm\tm\tmm\n");
  run = Command({"--units", "--cnv", folder / "none.cnv"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err.rfind("Cannot read ", 0), 0u);
}

TEST(ConversionCommandLine, UnitsListsTheDefaultTableInOrder) {
  const TRun run = Command({"--units"});
  EXPECT_EQ(run.code, 0);
  std::istringstream lines(run.out);
  std::vector<std::string> all;
  for (std::string line; std::getline(lines, line);)
    all.push_back(line);
  ASSERT_EQ(all.size(), 11u);
  EXPECT_EQ(all[0], "Angles\tcircles\tdegrees\tgradients\tminutes\tpi radians\tquadrants\tseconds");
  EXPECT_EQ(all[8], "Temperature\tCelcius\tFahrenheit\tKelvin\tRankine");
}

TEST(ConversionCommandLine, ConvWorksInEvalAndStdin) {
  TRun run = Command({"--eval", "Conv(9, 1, 4, 0)"});
  EXPECT_EQ(run.out, "491.67\n");
  run = Command({"--stdin"}, "Conv(9,4,1,491.67)\nConv(1.5,1,1,1)\n");
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out.substr(0, 5), "ok\t0\n");
  EXPECT_NE(run.out.find("error\t"), std::string::npos);

  app::TTempFolder folder;
  app::WriteBytes(folder / "one.cnv", "[Money]\r\n1=eur : cent : x*100 : x/100\r\n");
  run = Command({"--eval", "Conv(1, 2, 1, 3)", "--cnv", folder / "one.cnv"});
  EXPECT_EQ(run.out, "300\n");
  run = Command({"--eval", "1", "--cnv", folder / "none.cnv"});
  EXPECT_EQ(run.code, 1);
  run = Command({"--table", "--from", "0", "--to", "1", "--step", "1", "--defs",
                 "f(x)~Conv(1,2,1,x)", "--cnv", folder / "one.cnv"});
  EXPECT_EQ(run.out, "#,x,f(x)\n0,0,0\n1,1,100\n");
}

}  // namespace
}  // namespace conversion
