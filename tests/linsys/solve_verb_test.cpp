// --solve: the results memo's lines on standard output, message boxes on standard error, and
// the exit code.
#include <gtest/gtest.h>

#include "support/command_run.h"
#include "temp_folder.h"

namespace app {
namespace {

// The --solve verb with `arguments` after it.
TRun Command(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "--solve");
  return RunCalculator(arguments);
}

TEST(SolveVerb, PrintsTheChosenResultOrFailsWithOne) {
  EXPECT_EQ(Command({}).out.rfind("Solution:\nx = ", 0), 0u);
  EXPECT_EQ(Command({"--right"}).out, "Right part:\n-1\n2\n-3\n");
  const TRun matrix =
      Command({"--vars", "p, q", "--equations", "2 p - 4,\n q + 3 p - 9", "--matrix"});
  EXPECT_EQ(matrix.out,
            "Initial matrix:\n2.00000000000000000E+0   0.00000000000000000E+0   \n"
            "3.00000000000000000E+0   1.00000000000000000E+0   \n");
  const TRun singular =
      Command({"--vars", "a,b", "--equations", "a + b, 2 a + 2 b - 1", "--determinant"});
  EXPECT_EQ(singular.code, 1);
  EXPECT_EQ(singular.out + singular.err, "System is bad conditioned\n");
  EXPECT_EQ(Command({"--inverse", "--matrix"}).code, 2) << "one result at a time";
}

TEST(SolveVerb, StartsFromAFileThatTheOptionsOverride) {
  TTempFolder folder;
  WriteBytes(folder / "s.sle", "{u,v}{u + v - 3,\r\nu - v + 1}");
  EXPECT_EQ(Command({"--sle", folder / "s.sle", "--vars", "v,u", "--equations", "u - 5, v"}).out,
            "Solution:\nv = 0\nu = 5\n");
  WriteBytes(folder / "bad.sle", "}{u}{u}");
  const TRun bad = Command({"--sle", folder / "bad.sle"});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.out + bad.err, "Bad file format\n");
}

}  // namespace
}  // namespace app
