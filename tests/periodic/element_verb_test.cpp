// The --element verb: the card of an element from the built-in data or from a file.
#include <gtest/gtest.h>

#include "../app/temp_folder.h"
#include "support/command_run.h"

namespace periodic {
namespace {

using app::RunCalculator;
using app::TRun;

TEST(ElementVerbTest, PrintsTheCardFromTheBuiltInDataWritingNoFile) {
  app::TTempFolder folder;
  const TRun iron = RunCalculator({"--element", "26", "--data-dir", folder.Path()});
  EXPECT_EQ(iron.code, 0);
  EXPECT_EQ(iron.out,
            "26\nFe\nIron\nTransition Metal\nSolid\nGroup: 8\nPeriod: 4\n\n\n\n"
            "Oxidation: +2 +3\nAtomic Weight\t55.847\tamu\nMelting Point\t1535.85\tC\n"
            "Boiling Point\t2861.85\tC\nDensity\t7860\tkg/cu.m\n");
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
  EXPECT_NE(RunCalculator({"--element", "Ne"}).out.find("\n\nOxidation:\nAtomic Weight\t20.18\t"),
            std::string::npos);
}

TEST(ElementVerbTest, ReadsAFileNamedByPte) {
  app::TTempFolder folder;
  app::WriteBytes(folder / "hard.pte",
                  "[Properties]\r\n5=Hardness\r\n[Units]\r\n5=Mohs\r\n[Fe]\r\n5=4\r\n");
  const TRun iron = RunCalculator({"--element", "Fe", "--pte", folder / "hard.pte"});
  EXPECT_EQ(iron.code, 0);
  EXPECT_NE(iron.out.find("\nMelting Point\t1535.85\t\nBoiling Point\t2861.85\t\nDensity\t7860\t\n"
                          "Hardness\t4\tMohs\n"),
            std::string::npos)
      << iron.out;

  app::WriteBytes(folder / "bad.pte", "[Fe]\r\nx=4\r\n");
  EXPECT_EQ(RunCalculator({"--element", "Fe", "--pte", folder / "bad.pte"}).out,
            "'x' is not a valid integer value\n");
  const TRun missing = RunCalculator({"--element", "Fe", "--pte", folder / "none.pte"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.out.rfind("Cannot read " + folder / "none.pte" + ": ", 0), 0u);
}

TEST(ElementVerbTest, UnknownElementsAndWrongOptions) {
  for (const char* unknown : {"Xx", "0", "110", ""}) {
    const TRun run = RunCalculator({"--element", unknown});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, std::string("Unknown element : ") + unknown + "\n");
  }
  EXPECT_EQ(RunCalculator({"--element"}).code, 2);
  EXPECT_EQ(RunCalculator({"--element", "Fe", "--defs", "x=1"}).code, 2);
  EXPECT_EQ(RunCalculator({"--eval", "1", "--pte", "a.pte"}).code, 2);
}

}  // namespace
}  // namespace periodic
