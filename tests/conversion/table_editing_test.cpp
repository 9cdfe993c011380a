// The editing rules of the definition window: units renamed, merged and deleted, categories
// refused, blocks of definitions deleted, the editor's checks and its unit numbers.
#include "conversion/table_editing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scripted_prompt.h"

namespace conversion {
namespace {

class TableEditingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // One category whose units sort as A, B, C, D.
    ASSERT_FALSE(ReadSections({{"Test",
                                {"A : B : x*2 : x/2", "B : C : x*3 : x/3", "A : C : x*6 : x/6",
                                 "C : D : x*5 : x/5", "A : D : x*30 : x/30"}}},
                              conversion_.EditTable())
                     .has_value());
  }
  const TRecList& List() const { return conversion_.Table().At(0).list; }
  // The definitions as "UnitA-UnitB" in table order.
  std::vector<std::string> Links() const {
    std::vector<std::string> links;
    for (const TConversionDefinition& d : List().Definitions)
      links.push_back(List().Unit(d.unitA).name + "-" + List().Unit(d.unitB).name);
    return links;
  }
  std::vector<std::string> Units() const {
    std::vector<std::string> names;
    for (const TUnit& unit : List().Units())
      names.push_back(unit.name);
    return names;
  }

  app::TScriptedPrompt prompt_;
  TUnitConversion conversion_{prompt_};
  TTableEditor editor_{conversion_, prompt_};
};

TEST_F(TableEditingTest, RenamingAUnitToAnotherUnitsNameMergesThemAndDropsTheirLinks) {
  conversion_.Check();
  ASSERT_FALSE(conversion_.Locked());
  // B becomes C: A-B turns into a second A-C, and B-C, now linking C with itself, goes.
  const auto moved = editor_.EditUnit(0, List().FindUnit("B"), " c ");
  ASSERT_TRUE(moved.has_value());
  EXPECT_EQ(*moved, (std::vector<std::int32_t>{0, -1, 1, 2, 3}));
  EXPECT_EQ(Units(), (std::vector<std::string>{"A", "C", "D"}));
  EXPECT_EQ(Links(), (std::vector<std::string>{"A-C", "A-C", "C-D", "A-D"}));
  EXPECT_EQ(List().Definitions[0].aToB, "x*2");
  EXPECT_TRUE(conversion_.Locked());
  // The doubled link is what the next check refuses.
  EXPECT_FALSE(conversion_.Check());
  EXPECT_EQ(prompt_.messages.back(),
            "Error in category : Test : Row# 1 and Row#2 : rows cannot be identical");
}

TEST_F(TableEditingTest, RenamingAUnitMovesItToItsSortedPlaceWithItsLinksAndPosition) {
  conversion_.EditTable().At(0).list.Unit(0).point.x = 77;
  editor_.EditUnit(0, List().FindUnit("A"), "Z");
  EXPECT_EQ(Units(), (std::vector<std::string>{"B", "C", "D", "Z"}));
  EXPECT_EQ(Links(), (std::vector<std::string>{"Z-B", "B-C", "Z-C", "C-D", "Z-D"}));
  EXPECT_EQ(List().Unit(3).point.x, 77);
}

TEST_F(TableEditingTest, EmptyNameDeletesOnlyAUnitNoDefinitionUses) {
  ASSERT_EQ(editor_.AddUnit(0, "  Bb "), 2);  // between B and C, at (20, 20)
  EXPECT_EQ(List().Unit(2).point.x, 20);
  EXPECT_EQ(Links()[1], "B-C");
  EXPECT_EQ(editor_.AddUnit(0, "bb"), 2);  // already a unit: nothing added
  EXPECT_EQ(List().UnitCount(), 5);

  EXPECT_FALSE(editor_.EditUnit(0, List().FindUnit("C"), " ").has_value());
  EXPECT_EQ(List().UnitCount(), 5);
  EXPECT_TRUE(editor_.EditUnit(0, 2, "").has_value());
  EXPECT_EQ(Units(), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(Links(), (std::vector<std::string>{"A-B", "B-C", "A-C", "C-D", "A-D"}));

  EXPECT_FALSE(editor_.EditUnit(0, -1, "E").has_value());
  EXPECT_FALSE(editor_.AddUnit(0, " ").has_value());
  // A ":" would split the unit's key line in the file.
  EXPECT_FALSE(editor_.AddUnit(0, "m:s").has_value());
  EXPECT_FALSE(editor_.EditUnit(0, 0, "m:s").has_value());
  EXPECT_EQ(Units(), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(prompt_.messages,
            (std::vector<std::string>{kInsertUnitA, "Unit definition cannot be an empty string",
                                      kColonInUnit, kColonInUnit}));
}

TEST_F(TableEditingTest, CategoriesRefuseEmptyAndDuplicateNamesAndDeletionWithDefinitions) {
  EXPECT_FALSE(editor_.DeleteCategory(0));
  EXPECT_EQ(conversion_.Table().Count(), 1);
  EXPECT_FALSE(editor_.AddCategory("  ").has_value());
  EXPECT_FALSE(editor_.AddCategory("TEST").has_value());
  EXPECT_FALSE(editor_.RenameCategory(0, "").has_value());
  EXPECT_EQ(editor_.AddCategory(" Angles "), 0);
  EXPECT_EQ(editor_.RenameCategory(0, "Zones"), 1);
  EXPECT_EQ(conversion_.Table().At(1).name, "Zones");
  EXPECT_TRUE(editor_.DeleteCategory(1));
  EXPECT_EQ(
      prompt_.messages,
      (std::vector<std::string>{
          "Please delete all definitions", "Unit definition cannot be an empty string",
          "Unit category already exists : TEST", "Unit definition cannot be an empty string"}));
}

TEST_F(TableEditingTest, DeletingABlockStopsAtTheEndOfTheTable) {
  prompt_.answers = {false};
  prompt_.answer = true;
  EXPECT_FALSE(editor_.DeleteDefinitions(0, 3, 10));  // "No" keeps them
  EXPECT_EQ(List().Definitions.size(), 5u);
  EXPECT_TRUE(editor_.DeleteDefinitions(0, 3, 10));
  EXPECT_EQ(Links(), (std::vector<std::string>{"A-B", "B-C"}));
  EXPECT_TRUE(editor_.DeleteDefinitions(0, 2, 2147483647));
  EXPECT_EQ(Links(), (std::vector<std::string>{"A-B"}));

  EXPECT_FALSE(editor_.DeleteDefinitions(0, 0, 1));
  EXPECT_FALSE(editor_.DeleteDefinitions(0, 2, 1));
  EXPECT_FALSE(editor_.DeleteDefinitions(0, 1, 0));
  EXPECT_EQ(prompt_.messages,
            (std::vector<std::string>{"Invalid #", "Invalid #", "Invalid count"}));
  EXPECT_EQ(prompt_.questions.size(), 3u);  // asked only after the numbers pass
}

TEST_F(TableEditingTest, DefinitionCheckNamesTheFaultyDirection) {
  struct TCase {
    std::int32_t unitA, unitB;
    const char* aToB;
    const char* bToA;
    const char* message;  // nullptr: accepted
  };
  const TCase cases[] = {
      {-1, 1, "x", "x", "Please select items in ComboBox"},
      {1, 1, "x", "x", "Items must be diferent"},
      {0, 1, "x^2", "x", "A => B :  Expression must be linear"},
      {0, 1, "5", "x", "A => B :  Expression must contain variable x"},
      {0, 1, "1.8*x+32", "5", "B => A : Expression must contain variable x"},
      {0, 1, "x", "sqrt(x)", "B => A : Expression must be linear"},
      {0, 1, "1.8*x+32", "(x-32)*5/9", nullptr},
  };
  for (const TCase& c : cases) {
    prompt_.messages.clear();
    EXPECT_EQ(editor_.CheckDefinition(c.unitA, c.unitB, c.aToB, c.bToA), c.message == nullptr)
        << c.aToB << " / " << c.bToA;
    if (c.message != nullptr) {
      EXPECT_EQ(prompt_.messages, std::vector<std::string>{c.message});
    }
  }
  prompt_.messages.clear();
  EXPECT_FALSE(editor_.CheckDefinition(0, 1, "x*(", "x"));
  ASSERT_EQ(prompt_.messages.size(), 1u);
  EXPECT_EQ(prompt_.messages[0].rfind("A => B : ", 0), 0u);
  EXPECT_TRUE(conversion_.MessagePrefix.empty());
}

TEST(UnitNumberTest, OnlyANumberWithinTheListChoosesAUnit) {
  struct TCase {
    const char* text;
    std::int32_t unit;
    bool notInteger;
  };
  const TCase cases[] = {{"1", 0, false},  {" 3 ", 2, false}, {"0", -1, false},
                         {"4", -1, false}, {"-1", -1, false}, {"", -1, false},
                         {"2x", -1, true}, {"1.5", -1, true}, {"99999999999999999999", -1, true}};
  for (const TCase& c : cases) {
    const TUnitNumber number = UnitFromNumber(c.text, 3);
    EXPECT_EQ(number.unit, c.unit) << c.text;
    EXPECT_EQ(number.notInteger, c.notInteger) << c.text;
  }
}

}  // namespace
}  // namespace conversion
