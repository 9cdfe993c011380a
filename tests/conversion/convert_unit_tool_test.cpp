// The conversion window's "&Calculate" without the window: the expression is evaluated against
// the calculator's definitions, then converted.
#include "conversion/convert_unit_tool.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "evaluator/value.h"

namespace conversion {
namespace {

class TRecordingPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }
  std::vector<std::string> messages;
};

class ConvertUnitToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    conversion_.LoadDefaults();
    conversion_.Bind(core_.AppFunctions);
    ASSERT_TRUE(conversion_.Check());
    temperature_ = conversion_.Table().Find("Temperature");
  }
  std::string Calculate(const std::string& expression, std::int32_t from, std::int32_t to,
                        const std::string& definitions = "") {
    const std::optional<evaluator::TEvalValue> value =
        tool_.Calculate(expression, temperature_, from, to, definitions);
    return value ? evaluator::ValueToText(*value) : "(none)";
  }

  TRecordingPrompt prompt_;
  app::TCalculatorCore core_{prompt_};
  TUnitConversion conversion_{prompt_};
  TConvertUnitTool tool_{core_, conversion_, prompt_};
  std::int32_t temperature_ = -1;
};

TEST_F(ConvertUnitToolTest, EvaluatesTheExpressionWithTheDefinitionsThenConverts) {
  // Celcius 0, Fahrenheit 1, Kelvin 2, Rankine 3.
  EXPECT_EQ(Calculate("2*y", 0, 1, "y=5"), "50");
  EXPECT_EQ(Calculate("Conv(9, 1, 2, 100)", 1, 0), "100");
  EXPECT_EQ(Calculate("0", 0, 3), "491.67");
  EXPECT_TRUE(prompt_.messages.empty());
  EXPECT_EQ(Calculate("1", -1, 1), "(none)");
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(ConvertUnitToolTest, RefusesWithTheWindowsMessages) {
  EXPECT_EQ(Calculate("1", 0, 1, "y=("), "(none)");
  EXPECT_EQ(prompt_.messages, (std::vector<std::string>{"Please corect user definitions"}));
  prompt_.messages.clear();

  ASSERT_TRUE(core_.DefinitionsPass(""));
  EXPECT_EQ(Calculate("unknownname+", 0, 1), "(none)");
  EXPECT_EQ(prompt_.messages.size(), 1u);
  prompt_.messages.clear();

  EXPECT_FALSE(tool_.Calculate("1", -1, 0, 1, "").has_value());
  EXPECT_EQ(prompt_.messages, (std::vector<std::string>{"Please enter an unit category"}));
  prompt_.messages.clear();

  conversion_.Lock();
  EXPECT_EQ(Calculate("1", 0, 1), "(none)");
  EXPECT_EQ(prompt_.messages, (std::vector<std::string>{"Please check conversions"}));
}

}  // namespace
}  // namespace conversion
