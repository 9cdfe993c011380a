// The --sheet option: files read into numbered sheets with their spline types before --eval and
// --stdin run, and what happens when a file cannot be read or a verb does not take the option.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../app/temp_folder.h"
#include "support/command_run.h"

namespace interpolation {
namespace {

using app::RunCalculator;
using app::TRun;

class SheetOptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app::WriteBytes(squares_, "1  0  0\r\n2  1  1\r\n3  2  4\r\n");
    app::WriteBytes(wave_, "0,0\n1,1\n2,0\n3,1\n4,0\n");
  }
  app::TTempFolder folder_;
  const std::string squares_ = folder_ / "squares.dat";
  const std::string wave_ = folder_ / "wave.dat";
};

TEST_F(SheetOptionTest, SheetsAreReadInOrderWithTheirSplineTypes) {
  const TRun one = RunCalculator({"--sheet", squares_, "--eval", "Lagrange(1.5,1)"});
  EXPECT_EQ(one.code, 0);
  EXPECT_EQ(one.out, "2.25\n");

  const std::string text = "CubicSpline(0.5,2)";
  const TRun natural = RunCalculator({"--sheet", squares_, "--sheet", wave_, "--eval", text});
  const TRun periodic = RunCalculator(
      {"--sheet", squares_ + ":natural", "--sheet", wave_ + ":periodic", "--eval", text});
  EXPECT_EQ(natural.code, 0);
  EXPECT_EQ(periodic.code, 0);
  EXPECT_NE(natural.out, periodic.out);

  // The function table reads the sheets too.
  const TRun table = RunCalculator({"--sheet", squares_, "--table", "--defs", "f(x)~Lagrange(x,1)",
                                    "--from", "1", "--to", "2", "--step", "0.5"});
  EXPECT_EQ(table.code, 0);
  EXPECT_EQ(table.out, "#,x,f(x)\n0,1,1\n1,1.5,2.25\n2,2,4\n");

  const TRun lines = RunCalculator({"--stdin", "--sheet", wave_},
                                   "CubicSpline(1,1)\nCubicSpline(5,1)\nLagrange(0,2)\n");
  EXPECT_EQ(
      lines.out,
      "ok\t1\n"
      "error\tInvalid value for CUBICSPLINE :  not defined for this arguments: 5 : NONMATH\n"
      "error\tInvalid value for LAGRANGE :  sheet number must be between 1 and 1 : NONMATH\n");
}

TEST_F(SheetOptionTest, UnreadableFilesAndOtherVerbsAreRefused) {
  const TRun missing =
      RunCalculator({"--sheet", squares_, "--sheet", folder_ / "none.dat", "--eval", "1"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "Cannot read " + (folder_ / "none.dat") + ": No such file or directory\n");
  // An unknown suffix is part of the file's name.
  EXPECT_EQ(RunCalculator({"--sheet", squares_ + ":cubic", "--eval", "1"}).code, 1);
  EXPECT_EQ(RunCalculator({"--sheet", squares_, "--derive", "x", "--var", "x"}).code, 2);
  EXPECT_EQ(RunCalculator({"--sheet", "--eval", "1"}).code, 2);
}

}  // namespace
}  // namespace interpolation
