// --const on the command line: constants stored in order before the expressions are evaluated.
#include <gtest/gtest.h>

#include "support/command_run.h"

namespace constants {
namespace {

using app::RunCalculator;
using app::TRun;

TEST(ConstOptionTest, ConstantsAreStoredInOrderBeforeTheDefinitions) {
  const TRun run = RunCalculator({"--const", "g=9.81", "--const", "h=2*g", "--eval", "h/g"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "2\n");
  EXPECT_EQ(RunCalculator({"--stdin", "--const", "c=3", "--defs", "y=c*2"}, "y+c\n").out,
            "ok\t9\n");
  // The constants are fixed: the definitions cannot assign to them.
  const TRun assigned = RunCalculator({"--const", "c=3", "--defs", "c=1", "--eval", "c"});
  EXPECT_EQ(assigned.code, 1);
  EXPECT_EQ(assigned.out.rfind("Cannot set value for protected expression", 0), 0u);
}

TEST(ConstOptionTest, AnInternalNameEditsItsRowAndFeedsTheSetting) {
  EXPECT_EQ(RunCalculator({"--const", "STEP=0.5", "--eval", "step*4"}).out, "2\n");
  const TRun refused = RunCalculator({"--const", "Step=0", "--eval", "step"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(refused.err, "Invalid value : Step = 0\n");
  EXPECT_EQ(refused.out, "");
}

TEST(ConstOptionTest, RefusalsGoToStandardErrorAndExitOne) {
  struct TCase {
    std::vector<std::string> arguments;
    std::string err;
  };
  const TCase cases[] = {
      {{"--const", "g", "--eval", "1"}, "Bad constant : missing '=' : g\n"},
      {{"--const", "g=1+", "--eval", "1"}, "Invalid expression : 1+\n"},
      {{"--const", "g=1", "--const", "G=2", "--eval", "1"},
       "IsValidIdentName-> IDENTIFIER NAME ALREADY EXIST : g\n"},
  };
  for (const TCase& c : cases) {
    const TRun run = RunCalculator(c.arguments);
    EXPECT_EQ(run.code, 1) << c.err;
    EXPECT_EQ(run.err, c.err);
  }
  // Only the evaluating verbs take it.
  EXPECT_EQ(RunCalculator({"--const", "g=1", "--derive", "x", "--var", "x"}).code, 2);
}

}  // namespace
}  // namespace constants
