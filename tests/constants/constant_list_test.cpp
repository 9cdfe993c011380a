// The constant list against the calculator core: storing, refusing, deleting and the settings
// that the internal constants feed.
#include "constants/constant_list.h"

#include <gtest/gtest.h>

#include "support/scripted_prompt.h"

namespace constants {
namespace {

class ConstantListTest : public ::testing::Test {
 protected:
  // Deleting asks "ARE YOU SURE ?": Yes unless a test queues other answers.
  ConstantListTest() { prompt_.answer = true; }

  // The result lines of `expressions` after a fresh definitions pass over `definitions`.
  std::vector<std::string> Evaluate(const std::string& expressions,
                                    const std::string& definitions = "nan") {
    core_.DefinitionsPass(definitions);
    core_.ExpressionsPass(expressions, definitions);
    return core_.Results();
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (std::int32_t i = 1; i <= list_.Count(); ++i)
      names.push_back(list_.Row(i).Name);
    return names;
  }
  std::string Message() const { return prompt_.messages.empty() ? "" : prompt_.messages.back(); }
  void Add(const std::string& name, const std::string& expression) {
    ASSERT_TRUE(list_.AddConst(list_.NewRow(), name, expression, "")) << Message();
  }

  app::TScriptedPrompt prompt_;
  app::TCalculatorCore core_{prompt_};
  TConstantList list_{core_, prompt_};
};

TEST_F(ConstantListTest, StartsWithTheFiveInternalRowsInStepWithConstantsEval) {
  const std::vector<std::string> names = {"FROM", "TO", "STEP", "COLWIDTH", "DETTOLERANCE"};
  EXPECT_EQ(Names(), names);
  EXPECT_EQ(list_.Row(3).Expression, "_step");
  EXPECT_EQ(list_.Row(5).Description, "Internal constant");
  EXPECT_EQ(list_.Row(1).Value, "-100");
  EXPECT_EQ(list_.Row(4).Value, "150");
  EXPECT_EQ(core_.ConstantsEval->VariableCount, 5);
  EXPECT_EQ(list_.VectorText(),
            "FROM=_from,TO=_to,STEP=_step,COLWIDTH=_colwidth,DETTOLERANCE=_dettolerance");
  EXPECT_EQ(list_.Find(" step "), 3);
  EXPECT_EQ(list_.Find("g"), 0);
}

TEST_F(ConstantListTest, NewConstantsAreFixedVariablesOfEveryExpression) {
  Add("g", "9.81");
  Add("h", "2*\ng");  // memo lines are joined without a separator
  EXPECT_EQ(list_.Count(), 7);
  EXPECT_EQ(list_.Row(6).Value, "9.81");
  EXPECT_EQ(list_.Row(7).Expression, "2*g");
  EXPECT_EQ(list_.Row(7).Value, "19.62");
  EXPECT_TRUE(list_.Changed);
  EXPECT_EQ(Evaluate("h/g, step*10"), (std::vector<std::string>{"2", "1"}));
  // Neither the definitions nor an expression may assign to a constant.
  EXPECT_FALSE(core_.DefinitionsPass("g=1"));
  EXPECT_EQ(core_.Results()[0].rfind("Cannot set value for protected expression", 0), 0u);
  EXPECT_EQ(Evaluate("g=1")[0].rfind("Cannot set value for protected expression", 0), 0u);
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(ConstantListTest, PassesStayRefusedUntilTheDefinitionsAreProcessedAgain) {
  // Storing a constant re-parses ConstantsEval; the evaluators that held its cells must not
  // be run until the definitions pass has taken the new ones.
  ASSERT_EQ(Evaluate("from"), std::vector<std::string>{"-100"});
  Add("g", "1");
  EXPECT_FALSE(core_.ExpressionsPass("from", "nan"));
  EXPECT_EQ(Message(), "Please corect user definitions");
  EXPECT_EQ(Evaluate("from+g"), std::vector<std::string>{"-99"});
}

TEST_F(ConstantListTest, EditingAnInternalConstantSetsItsSettingOrRestoresAllFive) {
  ASSERT_TRUE(list_.AddConst(3, "STEP", "0.5", "Internal constant")) << Message();
  EXPECT_DOUBLE_EQ(core_.GetSetting(app::stStep), 0.5);
  EXPECT_EQ(list_.Row(3).Value, "0.5");

  core_.SetSetting(app::stFrom, -7);
  core_.SetSetting(app::stColWidth, 33);
  EXPECT_FALSE(list_.AddConst(3, "STEP", "0", "Internal constant"));
  EXPECT_EQ(Message(), "Invalid value : STEP = 0");
  EXPECT_EQ(list_.Row(3).Expression, "0.5");
  EXPECT_DOUBLE_EQ(core_.GetSetting(app::stStep), 0.5);
  EXPECT_DOUBLE_EQ(core_.GetSetting(app::stFrom), -7);
  EXPECT_DOUBLE_EQ(core_.GetSetting(app::stColWidth), 33);
  EXPECT_DOUBLE_EQ(core_.GetSetting(app::stTo), 100);

  // A setting only takes reals.
  EXPECT_FALSE(list_.AddConst(4, "COLWIDTH", "complex(1,2)", ""));
  EXPECT_EQ(Message(), "Invalid expression : COLWIDTH=complex(1,2)");
  EXPECT_FALSE(list_.AddConst(4, "COLWIDTH", "199.5", ""));
  EXPECT_EQ(Message(), "Invalid value : COLWIDTH = 199.5");
  ASSERT_TRUE(list_.AddConst(4, "COLWIDTH", "120", "")) << Message();
  EXPECT_DOUBLE_EQ(core_.GetSetting(app::stColWidth), 120);
}

TEST_F(ConstantListTest, RefusesNamesThatClashOrAreNotIdentifiers) {
  struct TCase {
    const char* name;
    const char* message;
  };
  const TCase cases[] = {
      {"sin", "IsValidIdentName-> "},   {"step", "IsValidIdentName-> IDENTIFIER NAME ALREADY"},
      {"Gamma", "IsValidIdentName-> "}, {"2g", "IsValidIdentName-> NOT VALID PASCAL IDENTIFIER"},
      {"", "IsValidIdentName-> "},      {"G", "IsValidIdentName-> IDENTIFIER NAME ALREADY"},
  };
  Add("g", "1");
  for (const TCase& c : cases) {
    prompt_.messages.clear();
    EXPECT_FALSE(list_.AddConst(list_.NewRow(), c.name, "1", "")) << c.name;
    EXPECT_EQ(Message().rfind(c.message, 0), 0u) << c.name << ": " << Message();
  }
  EXPECT_EQ(list_.Count(), 6);
  // Renaming a row to its own name, or to another letter case of it, is no clash.
  EXPECT_TRUE(list_.AddConst(6, "G", "2", "renamed")) << Message();
  EXPECT_EQ(list_.Row(6).Name, "G");
}

TEST_F(ConstantListTest, RefusesExpressionsThatDoNotGiveAValue) {
  const char* bad[] = {"1+", "Null", "from=3", "q*2", "1,2", "g"};
  for (const char* expression : bad) {
    prompt_.messages.clear();
    EXPECT_FALSE(list_.AddConst(list_.NewRow(), "g", expression, "")) << expression;
    EXPECT_EQ(Message(), std::string("Invalid expression : ") + expression);
  }
  EXPECT_EQ(list_.Count(), 5);
  EXPECT_EQ(core_.ConstantsEval->VariableCount, 5);
  EXPECT_FALSE(list_.Changed);
}

TEST_F(ConstantListTest, AConstantMayOnlyUseTheOnesBeforeIt) {
  Add("a", "1");
  Add("b", "a+1");
  // Row 6 now depends on row 7, which the vector computes after it.
  EXPECT_FALSE(list_.AddConst(6, "a", "b*2", ""));
  EXPECT_EQ(Message(), "Invalid expression : a=b*2");
  EXPECT_EQ(list_.Row(6).Expression, "1");
}

TEST_F(ConstantListTest, ANewConstantNamedAsTheFunctionVariableEmptiesIt) {
  Add("x", "3");
  EXPECT_EQ(core_.FunctionVariable, "");
  const std::string windowText = "t";
  Add("k", "4");
  EXPECT_EQ(core_.FunctionVariable, "");
  ASSERT_TRUE(list_.AddConst(list_.NewRow(), "m", "5", "", &windowText));
  EXPECT_EQ(core_.FunctionVariable, "t");
}

TEST_F(ConstantListTest, DeleteRefusesInternalRowsBadCountsAndNumbersPastTheEnd) {
  Add("g", "9.81");
  EXPECT_FALSE(list_.DeleteConsts(3, 1));
  EXPECT_EQ(Message(), "Cannot delete internal constants");
  EXPECT_FALSE(list_.DeleteConsts(6, 0));
  EXPECT_EQ(Message(), "Invalid count");
  EXPECT_TRUE(prompt_.questions.empty());
  EXPECT_FALSE(list_.DeleteConsts(7, 1));
  EXPECT_EQ(Message(), "Invalid #");
  EXPECT_EQ(prompt_.questions, std::vector<std::string>{"ARE YOU SURE ?"});
  prompt_.messages.clear();
  prompt_.answers = {false};
  EXPECT_FALSE(list_.DeleteConsts(6, 1));
  EXPECT_TRUE(prompt_.messages.empty());
  EXPECT_EQ(list_.Count(), 6);
}

TEST_F(ConstantListTest, DeleteRefusesWhileARemainingConstantDependsOnADeletedOne) {
  Add("g", "9.81");
  Add("h", "2*g");
  const TConstantRow before = list_.Row(7);
  EXPECT_FALSE(list_.DeleteConsts(6, 1));
  EXPECT_EQ(Message(), "Cannot delete variable dependece : h");
  Add("k", "5");
  EXPECT_FALSE(list_.DeleteConsts(6, 1));
  EXPECT_EQ(Message(), "Cannot delete variable dependece : h");
  EXPECT_EQ(Names(), (std::vector<std::string>{"FROM", "TO", "STEP", "COLWIDTH", "DETTOLERANCE",
                                               "g", "h", "k"}));
  EXPECT_EQ(list_.Row(7).Value, before.Value);
  // The dependent goes with it: the block is cut at the last row.
  ASSERT_TRUE(list_.DeleteConsts(6, 2)) << Message();
  EXPECT_EQ(Names().back(), "k");
  EXPECT_EQ(Evaluate("k"), std::vector<std::string>{"5"});
}

TEST_F(ConstantListTest, DeleteMovesTheRowsAfterTheBlockUp) {
  for (const char* name : {"a", "b", "c", "d"})
    Add(name, std::to_string(name[0] - 'a' + 1));
  list_.Changed = false;
  ASSERT_TRUE(list_.DeleteConsts(7, 2)) << Message();
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"FROM", "TO", "STEP", "COLWIDTH", "DETTOLERANCE", "a", "d"}));
  EXPECT_EQ(list_.Row(7).Value, "4");
  EXPECT_EQ(core_.ConstantsEval->VariableCount, 7);
  EXPECT_EQ(core_.ConstantsEval->GetVariableName(7), "d");
  EXPECT_TRUE(list_.Changed);
  ASSERT_TRUE(list_.DeleteConsts(7, 100)) << Message();
  EXPECT_EQ(list_.Count(), 6);
  EXPECT_EQ(Evaluate("a"), std::vector<std::string>{"1"});
  // ConstantsEval keeps refusing assignments to what remains.
  EXPECT_FALSE(core_.DefinitionsPass("a=2"));
}

TEST_F(ConstantListTest, AFailingDependencyCheckKeepsTheListAndConstantsEval) {
  // max() refuses a not-a-number after a number, so the check itself fails to run.
  Add("g", "9.81");
  Add("h", "max(1,g)");
  ASSERT_EQ(Evaluate("h"), std::vector<std::string>{"9.81"});
  evaluator::TEvalValue* cell = core_.ConstantsEval->VarVect[6].value;
  EXPECT_FALSE(list_.DeleteConsts(6, 1));
  EXPECT_EQ(Message(), "Programing error!");
  EXPECT_EQ(list_.Count(), 7);
  EXPECT_EQ(core_.ConstantsEval->VarVect[6].value, cell);
  EXPECT_TRUE(core_.ConstantsEval->FixLetterEndingNames);
  // Nothing was replaced, so the expressions pass still runs over the same cells.
  EXPECT_TRUE(core_.ExpressionsPass("h+g", "nan"));
  EXPECT_EQ(core_.Results(), std::vector<std::string>{"19.62"});
}

TEST_F(ConstantListTest, AConstantThatWasAlreadyNaNDoesNotBlockADeletion) {
  Add("u", "nan");
  Add("g", "1");
  ASSERT_TRUE(list_.DeleteConsts(7, 1)) << Message();
  EXPECT_EQ(Names().back(), "u");
  // One that was NaN and names the deleted constant still keeps it.
  Add("g", "1");
  Add("w", "g*nan");
  EXPECT_FALSE(list_.DeleteConsts(7, 1));
  EXPECT_EQ(Message(), "Programing error!");
  EXPECT_EQ(list_.Count(), 8);
}

// The panes of a calculator file, as plain texts.
class TTextPanes : public app::TCalculatorPanes {
 public:
  explicit TTextPanes(app::TCalculatorCore& core) : core_(core) {}
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
  std::string definitions = "nan";
  std::string expressions;

 private:
  app::TCalculatorCore& core_;
};

TEST_F(ConstantListTest, ACalculatorTextKeepsTheListAcrossAWriteAndARead) {
  ASSERT_TRUE(list_.AddConst(3, "STEP", "0.25", "finer")) << Message();
  Add("g", "9.81");
  Add("h", "2*g");
  TTextPanes panes(core_);
  panes.expressions = "h/g";
  app::TCalculatorSession session(core_, list_, panes, prompt_);
  const std::string text = session.ScrieString();
  EXPECT_NE(text.find("STEP = 0.25 //finer;"), std::string::npos) << text;
  EXPECT_NE(text.find("h = 2*g;"), std::string::npos) << text;

  list_.Reset();
  core_.SetSetting(app::stStep, 0.1);
  ASSERT_TRUE(session.CitesteString(text)) << Message();
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"FROM", "TO", "STEP", "COLWIDTH", "DETTOLERANCE", "g", "h"}));
  EXPECT_DOUBLE_EQ(core_.GetSetting(app::stStep), 0.25);
  EXPECT_EQ(core_.Results(), std::vector<std::string>{"2"});
  // Written again, the text is the same: no blank is gained on the way.
  EXPECT_EQ(session.ScrieString(), text);
  EXPECT_TRUE(prompt_.messages.empty()) << Message();
}

}  // namespace
}  // namespace constants
