// --solve: the results memo's lines on standard output, message boxes on standard error, and
// the exit code.
#include <gtest/gtest.h>

#include <sstream>

#include "app/command_line/command_line.h"
#include "temp_folder.h"

namespace app {
namespace {

struct TRun {
  int code;
  std::string out;
  std::string err;
};

TRun Command(const std::vector<std::string>& arguments) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunCommandLine(arguments, in, out, err);
  return {code, out.str(), err.str()};
}

TEST(SolveVerb, PrintsWhatTheWindowShowsForEachCommand) {
  const TRun solution = Command({"--solve"});
  EXPECT_EQ(solution.code, 0);
  EXPECT_EQ(solution.out.rfind("Solution:\nx = ", 0), 0u) << solution.out;
  EXPECT_EQ(Command({"--solve", "--right"}).out, "Right part:\n-1\n2\n-3\n");
  const std::vector<std::string> system = {"--solve", "--vars", "p, q", "--equations",
                                           "2 p - 4,\n q + 3 p - 9"};
  auto with = [&system](const char* option) {
    std::vector<std::string> arguments = system;
    arguments.emplace_back(option);
    return Command(arguments).out;
  };
  EXPECT_EQ(Command(system).out, "Solution:\np = 2\nq = 3\n");
  EXPECT_EQ(with("--determinant"), "Determinant = 2\n");
  EXPECT_EQ(with("--matrix"),
            "Initial matrix:\n2.00000000000000000E+0   0.00000000000000000E+0   \n"
            "3.00000000000000000E+0   1.00000000000000000E+0   \n");
  EXPECT_EQ(with("--inverse"),
            "Inverse  matrix :\n5.00000000000000000E-1   0.00000000000000000E+0   \n"
            "-1.50000000000000000E+0   1.00000000000000000E+0   \n");
}

TEST(SolveVerb, FailuresExitWithOne) {
  const TRun nonlinear = Command({"--solve", "--equations", "x*y, y, z"});
  EXPECT_EQ(nonlinear.code, 1);
  EXPECT_EQ(nonlinear.out, "System of equations is not linear\n");
  const TRun singular =
      Command({"--solve", "--vars", "a,b", "--equations", "a + b, 2 a + 2 b - 1"});
  EXPECT_EQ(singular.code, 1);
  EXPECT_EQ(singular.out, "");
  EXPECT_EQ(singular.err, "System is bad conditioned\n");
  const TRun count =
      Command({"--solve", "--vars", "x,y", "--equations", "x, y, x + y", "--inverse"});
  EXPECT_EQ(count.code, 1);
  EXPECT_EQ(count.out, "Number of variables do not corespond with number of equations\n");
  // One result at a time.
  EXPECT_EQ(Command({"--solve", "--inverse", "--matrix"}).code, 2);
  EXPECT_EQ(Command({"--solve", "--sle"}).code, 2);
}

TEST(SolveVerb, StartsFromAFileAndTheOptionsOverrideIt) {
  TTempFolder folder;
  WriteBytes(folder / "s.sle",
             "List of variables\r\n{\r\nu,v\r\n}\r\n\r\nSystem of linear equatins\r\n{\r\n"
             "u + v - 3,\r\nu - v + 1\r\n}\r\n");
  EXPECT_EQ(Command({"--solve", "--sle", folder / "s.sle"}).out, "Solution:\nu = 1\nv = 2\n");
  EXPECT_EQ(Command({"--solve", "--sle", folder / "s.sle", "--equations", "u - 5, v"}).out,
            "Solution:\nu = 5\nv = 0\n");
  EXPECT_EQ(Command({"--solve", "--sle", folder / "s.sle", "--vars", "v,u"}).out,
            "Solution:\nv = 2\nu = 1\n");
  WriteBytes(folder / "bad.sle", "}{u}{u}");
  const TRun bad = Command({"--solve", "--sle", folder / "bad.sle"});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err, "Bad file format\n");
  const TRun missing = Command({"--solve", "--sle", folder / "none.sle"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos);
}

}  // namespace
}  // namespace app
