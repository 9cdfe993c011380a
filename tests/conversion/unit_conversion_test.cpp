// The check of the table, conversion along the stored paths and "Conv", with their messages.
#include "conversion/unit_conversion.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/calculator_core.h"
#include "evaluator/value.h"
#include "support/save_faults.h"

namespace conversion {
namespace {

using evaluator::TEvalValue;

class TRecordingPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }
  std::vector<std::string> messages;
};

class UnitConversionTest : public ::testing::Test {
 protected:
  void LoadDefaults() { LoadDefaultTable(conversion_.EditTable()); }
  void Load(const std::vector<TCnvSection>& sections) {
    ASSERT_FALSE(ReadSections(sections, conversion_.EditTable()).has_value());
  }
  // "Conv" called directly; the thrown message, or empty and the value on success.
  std::string Conv(double category, double from, double to, double value, double* out = nullptr) {
    const TEvalValue arguments[] = {TEvalValue::Real(category), TEvalValue::Real(from),
                                    TEvalValue::Real(to), TEvalValue::Real(value)};
    const TEvalValue* pointers[] = {&arguments[0], &arguments[1], &arguments[2], &arguments[3]};
    TEvalValue result = TEvalValue::Null();
    try {
      conversion_.Conv(pointers, 4, result);
    } catch (const std::exception& e) {
      return e.what();
    }
    if (out != nullptr) *out = result.real;
    return {};
  }
  std::int32_t Category(const char* name) const { return conversion_.Table().Find(name); }
  std::int32_t Unit(const char* category, const char* name) const {
    return conversion_.Table().At(Category(category)).list.FindUnit(name);
  }

  TRecordingPrompt prompt_;
  TUnitConversion conversion_{prompt_};
};

TEST_F(UnitConversionTest, DefaultTableChecksCleanlyAndConvertsCelciusToRankineThroughFahrenheit) {
  LoadDefaults();
  EXPECT_TRUE(conversion_.Locked());
  ASSERT_TRUE(conversion_.Check());
  EXPECT_TRUE(prompt_.messages.empty());
  EXPECT_FALSE(conversion_.Locked());

  const std::int32_t temperature = Category("temperature");
  const std::int32_t celcius = Unit("Temperature", "celcius");
  const std::int32_t rankine = Unit("Temperature", "Rankine");
  // Celcius -> Fahrenheit (arc 1), then Fahrenheit -> Rankine (arc 5).
  EXPECT_EQ(conversion_.StoredPath(temperature, celcius, rankine),
            (std::vector<std::int32_t>{1, 5}));
  const std::optional<TEvalValue> value =
      conversion_.Convert(temperature, celcius, rankine, TEvalValue::Real(0));
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(evaluator::ValueToText(*value), "491.67");
  const std::optional<TEvalValue> back =
      conversion_.Convert(temperature, rankine, celcius, TEvalValue::Real(491.67));
  ASSERT_TRUE(back.has_value());
  EXPECT_NEAR(back->real, 0, 1e-12);

  double converted = 0;
  EXPECT_EQ(Conv(9, 1, 4, 0, &converted), "");
  EXPECT_DOUBLE_EQ(converted, 491.67);
  EXPECT_EQ(Conv(6, 9, 9, 3.5, &converted), "");  // meters to meters: out and back
  EXPECT_DOUBLE_EQ(converted, 3.5);
}

TEST_F(UnitConversionTest, EveryPairOfDefaultUnitsConvertsAndComesBack) {
  LoadDefaults();
  ASSERT_TRUE(conversion_.Check());
  const TCategoryList& table = conversion_.Table();
  for (std::int32_t c = 0; c < table.Count(); ++c) {
    const TRecList& list = table.At(c).list;
    for (std::int32_t a = 0; a < list.UnitCount(); ++a) {
      for (std::int32_t b = 0; b < list.UnitCount(); ++b) {
        const auto there = conversion_.Convert(c, a, b, TEvalValue::Real(7.25));
        ASSERT_TRUE(there.has_value()) << table.At(c).name << " " << a << " " << b;
        const auto back = conversion_.Convert(c, b, a, *there);
        ASSERT_TRUE(back.has_value());
        EXPECT_NEAR(back->real, 7.25, 1e-9) << list.Unit(a).name << " / " << list.Unit(b).name;
      }
    }
  }
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(UnitConversionTest, ConvRefusesBadArgumentsWithItsMessages) {
  LoadDefaults();
  EXPECT_EQ(Conv(9, 1, 4, 0), "Please check conversions");
  ASSERT_TRUE(conversion_.Check());
  EXPECT_EQ(Conv(1.5, 1, 2, 0), "Id of unit category must be un integer : 1.5");
  EXPECT_EQ(Conv(1, 2.5, 2, 0), "Id of convert from unit must be un integer : 2.5");
  EXPECT_EQ(Conv(1, 2, -0.5, 0), "Id of convert to unit must be un integer : -0.5");
  EXPECT_EQ(Conv(12, 1, 2, 0), "Incorrect id of unit category  : 12");
  EXPECT_EQ(Conv(0, 1, 2, 0), "Incorrect id of unit category  : 0");
  EXPECT_EQ(Conv(9, 0, 2, 0), "Incorrect id of convert from unit : 0");
  EXPECT_EQ(Conv(9, 1, 5, 0), "Incorrect id of convert to unit : 5");
  EXPECT_EQ(Conv(1e300, 1, 5, 0).rfind("Incorrect id of unit category  : ", 0), 0u);
  EXPECT_EQ(Conv(1 + 1e-14, 1, 2, 0), "");  // within 1e-13 of a whole number

  const TEvalValue boolean = TEvalValue::Boolean(true);
  const TEvalValue one = TEvalValue::Real(1);
  const TEvalValue* arguments[] = {&one, &one, &one, &boolean};
  TEvalValue result;
  EXPECT_THROW(
      {
        try {
          conversion_.Conv(arguments, 4, result);
        } catch (const std::exception& e) {
          EXPECT_STREQ(e.what(), "Incorrect real type");
          throw;
        }
      },
      std::exception);

  // Any change of the table locks conversions until the next check.
  int locks = 0;
  conversion_.OnLock = [&locks] { ++locks; };
  conversion_.EditTable().At(8).list.Definitions[0].aToB = "1.9*x+32";
  EXPECT_EQ(locks, 1);
  EXPECT_EQ(Conv(9, 1, 4, 0), "Please check conversions");
  EXPECT_FALSE(conversion_.Convert(8, 0, 1, TEvalValue::Real(0)).has_value());
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Please check conversions"});
  prompt_.messages.clear();
  ASSERT_TRUE(conversion_.Check());
  double converted = 0;
  EXPECT_EQ(Conv(9, 1, 2, 10, &converted), "");
  EXPECT_DOUBLE_EQ(converted, 51);
}

TEST_F(UnitConversionTest, ConvWorksFromExpressionsOfTheCalculator) {
  LoadDefaults();
  TRecordingPrompt corePrompt;
  app::TCalculatorCore core(corePrompt);
  conversion_.Bind(core.AppFunctions);
  ASSERT_TRUE(conversion_.Check());
  const std::string km = std::to_string(Unit("Length", "kilometers") + 1);
  const std::string m = std::to_string(Unit("Length", "meters") + 1);
  ASSERT_TRUE(core.ExpressionsPass("Conv(9, 1, 4, 0), conv(6," + km + "," + m + ",2)*2", ""));
  EXPECT_EQ(core.Results(), (std::vector<std::string>{"491.67", "4000"}));
  conversion_.Lock();
  EXPECT_FALSE(core.ExpressionsPass("Conv(9, 1, 4, 0)", ""));
  EXPECT_NE(core.ExpressionsEval->ErrorMessage.find("Please check conversions"), std::string::npos);
  // The table may go before the calculator: "Conv" then says so instead of reaching it.
  {
    TUnitConversion shortLived(prompt_);
    shortLived.Bind(core.AppFunctions);
  }
  EXPECT_FALSE(core.ExpressionsPass("Conv(9, 1, 4, 0)", ""));
  EXPECT_NE(core.ExpressionsEval->ErrorMessage.find("not available"), std::string::npos);
}

TEST_F(UnitConversionTest, UnitsWithoutDefinitionsCannotBeConverted) {
  Load({{"Length", {"m : km : x/1000 : x*1000"}}});
  conversion_.EditTable().At(0).list.AddUnit("inch", 20, 20);
  ASSERT_TRUE(conversion_.Check());
  const std::int32_t inch = Unit("Length", "inch");
  EXPECT_FALSE(conversion_.Convert(0, inch, Unit("Length", "m"), TEvalValue::Real(1)));
  EXPECT_FALSE(conversion_.Convert(0, inch, inch, TEvalValue::Real(1)));
  EXPECT_EQ(prompt_.messages, (std::vector<std::string>{"No unit converion definition",
                                                        "No unit converion definition"}));
  EXPECT_EQ(Conv(1, 1, 3, 1), "No unit converion definition");
}

TEST_F(UnitConversionTest, DuplicateRowsAndIdenticalUnitsFailTheCheck) {
  Load({{"A", {"x : y : x : x"}}, {"B", {"p : q : x : x", "q : r : x : x", "Q : P : x*2 : x/2"}}});
  EXPECT_FALSE(conversion_.Check());
  EXPECT_TRUE(conversion_.Locked());
  EXPECT_EQ(prompt_.messages,
            (std::vector<std::string>{
                "Error in category : B : Row# 1 and Row#3 : rows cannot be identical"}));

  prompt_.messages.clear();
  Load({{"C", {"m : km : x : x", "cm : CM : x : x", "km : cm : x : x"}}});
  EXPECT_FALSE(conversion_.Check());
  EXPECT_EQ(
      prompt_.messages,
      (std::vector<std::string>{"Error in category : C : Row# 2 : units cannot be identical"}));
}

TEST_F(UnitConversionTest, NonLinearAndConstantExpressionsWarnButPass) {
  Load({{"Area", {"a : b : x^2 : x/2", "b : c : x*3 : x/3"}},
        {"Fixed", {"p : q : 5 : x"}},
        {"Temperature", {"C : F : 1.8*x+32 : (x-32)*5/9"}}});
  EXPECT_TRUE(conversion_.Check());
  EXPECT_EQ(
      prompt_.messages,
      (std::vector<std::string>{
          "Error in category : Area : Row# 1 A => B :  Expression must be linear",
          "Error in category : Fixed : Row# 1 A => B :  Expression must contain variable x"}));
  // The definition after the warning was compiled all the same and converts.
  double converted = 0;
  EXPECT_EQ(Conv(1, 2, 3, 2, &converted), "");
  EXPECT_DOUBLE_EQ(converted, 6);
  EXPECT_EQ(Conv(1, 1, 2, 3, &converted), "");
  EXPECT_DOUBLE_EQ(converted, 9);
}

TEST_F(UnitConversionTest, ParseErrorsFailTheCheckEvenAfterAWarning) {
  Load({{"Bad", {"a : b : x*( : x"}}, {"Late", {"a : b : x^2 : x", "b : c : x+ : x"}}});
  EXPECT_FALSE(conversion_.Check());
  ASSERT_EQ(prompt_.messages.size(), 3u);
  EXPECT_EQ(prompt_.messages[0].rfind("Error in category : Bad : Row# 1 A => B : ", 0), 0u);
  EXPECT_EQ(prompt_.messages[1],
            "Error in category : Late : Row# 1 A => B :  Expression must be linear");
  EXPECT_EQ(prompt_.messages[2].rfind("Error in category : Late : Row# 2 A => B : ", 0), 0u);
  EXPECT_GT(prompt_.messages[2].size(),
            std::string("Error in category : Late : Row# 2 A => B : ").size());
}

TEST_F(UnitConversionTest, AFailedStepNamesItsUnitsAndStopsTheConversion) {
  Load({{"Odd", {"a : b : x*1e300*1e300 : x", "b : c : x*2 : x/2"}}});
  ASSERT_TRUE(conversion_.Check());
  const std::string message = Conv(1, 1, 3, 1);
  EXPECT_EQ(message.rfind("b ---> a : ", 0), 0u) << message;
  EXPECT_TRUE(prompt_.messages.empty()) << prompt_.messages[0];

  EXPECT_FALSE(conversion_.Convert(0, 0, 2, TEvalValue::Real(1)).has_value());
  ASSERT_EQ(prompt_.messages.size(), 1u);
  EXPECT_EQ(prompt_.messages[0].rfind("b ---> a ", 0), 0u) << prompt_.messages[0];
  // The evaluator's own handler is back in place after "Conv" silenced it.
  double converted = 0;
  EXPECT_EQ(Conv(1, 1, 3, 0, &converted), "");
  EXPECT_DOUBLE_EQ(converted, 0);
}

TEST_F(UnitConversionTest, FailedWritesOfTheFileAndTheDefaultFileKeepTheOldOnes) {
  LoadDefaults();
  const auto lastMessage = [this] {
    std::string last = prompt_.messages.empty() ? "" : prompt_.messages.back();
    prompt_.messages.clear();
    return last;
  };
  app::ExpectSavesKeepTheOldFile("own.cnv", [&](const std::string& path) {
    EXPECT_FALSE(conversion_.WriteToConvFile(path));
    return lastMessage();
  });
  app::ExpectSavesKeepTheOldFile("calculator.cnv", [&](const std::string& path) {
    std::string convFilePath = "kept.cnv";
    EXPECT_FALSE(conversion_.WriteToDefConvFile(convFilePath, path));
    EXPECT_EQ(convFilePath, "kept.cnv");
    return lastMessage();
  });
}

}  // namespace
}  // namespace conversion
