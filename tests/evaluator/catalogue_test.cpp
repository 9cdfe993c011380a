// Tests of the reserved-name catalogue: code alignment, lookup, argument counts and help texts.
#include "evaluator/catalogue.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace evaluator {
namespace {

TEST(CatalogueTable, CodesLineUpWithTheCodeEnum) {
  ASSERT_EQ(kBuiltinCount, kLastBuiltinCode - kFirstBuiltinCode + 1);
  const std::pair<int, std::string_view> cases[] = {
      {kCodePi, "pi"},
      {kCodeCeil, "ceil"},
      {kCodeArctan2, "arctan2"},
      {kCodeWhile, "while"},
      {kCodePowerFn, "power"},
      {kCodeNan, "nan"},
      {kCodeCeiling, "ceiling"},
      {kCodeE, "e"},
      {kCodeDirectedinfinity, "directedinfinity"},
      {kCodeIscurrency, "iscurrency"},
  };
  for (const auto& [code, name] : cases) {
    EXPECT_EQ(BuiltinName(code), name);
    EXPECT_EQ(FindBuiltin(name) + kFirstBuiltinCode, code) << name;
  }
}

TEST(CatalogueTable, NamesAreUniqueLowerCaseAndAtMostSixteenCharacters) {
  std::set<std::string_view> seen;
  for (int index = 0; index < kBuiltinCount; ++index) {
    const std::string_view name = BuiltinEntry(index).name;
    EXPECT_EQ(BuiltinName(index + kFirstBuiltinCode), name);
    EXPECT_TRUE(seen.insert(name).second) << "duplicate " << name;
    ASSERT_FALSE(name.empty());
    EXPECT_LE(name.size(), 16u) << name;
    EXPECT_TRUE(name[0] >= 'a' && name[0] <= 'z') << name;
    for (const char c : name)
      EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) << name;
    // Every name must be reachable, i.e. the first match is the entry itself.
    EXPECT_EQ(FindBuiltin(name), index) << name;
  }
}

TEST(CatalogueTable, ConstantsAndControlFormsAreExactlyTheListedNames) {
  std::set<std::string_view> constants, controlForms;
  for (int index = 0; index < kBuiltinCount; ++index) {
    const TBuiltinEntry& entry = BuiltinEntry(index);
    if (entry.kind == TBuiltinKind::Constant) {
      constants.insert(entry.name);
      EXPECT_EQ(entry.maxArguments, 0) << entry.name;
    }
    if (entry.kind == TBuiltinKind::ControlForm) controlForms.insert(entry.name);
  }
  EXPECT_EQ(constants, (std::set<std::string_view>{"pi", "infinity", "zero", "nan", "indeterminate",
                                                   "true", "false", "degree", "e", "null"}));
  EXPECT_EQ(controlForms, (std::set<std::string_view>{"if", "bk", "while"}));
}

TEST(CatalogueCodes, OutOfRangeCodesGiveNoNameAndNoOperator) {
  for (const int code : {-1, 0, 7, 103, 65535})
    EXPECT_EQ(BuiltinName(code), "") << code;
  for (const int code : {-1, 0, 8, 102})
    EXPECT_EQ(OperatorCharacter(code), '\0') << code;
  EXPECT_EQ(OperatorCharacter(kCodeMultiply), '*');
  EXPECT_EQ(OperatorCharacter(kCodeSubtract), '-');
  EXPECT_EQ(OperatorCharacter(kCodePower), '^');
  EXPECT_EQ(OperatorCharacter(kCodeDefine), '~');
}

TEST(CatalogueLookup, IgnoresAsciiCaseOfLetters) {
  const std::pair<std::string_view, int> cases[] = {
      {"pi", kCodePi},           {"Pi", kCodePi},       {"PI", kCodePi},
      {"ArcTan2", kCodeArctan2}, {"LOG10", kCodeLog10}, {"Real2Curr", kCodeReal2curr},
      {"sinh", kCodeSinh},       {"E", kCodeE},         {"COMPLEXFROMPOLAR", kCodeComplexfrompolar},
  };
  for (const auto& [text, code] : cases) {
    EXPECT_EQ(FindBuiltin(text), code - kFirstBuiltinCode) << text;
  }
}

TEST(CatalogueLookup, RejectsPrefixesExtensionsAndFoldedNonLetters) {
  // "\x12" and "\x11" become '2' and '1' under a careless "| 0x20" case fold.
  for (const std::string_view text :
       {"", "si", "sins", " pi", "pi ", "complexfrompolarx", "LOG\x12", "lnxp\x11", "p\xC9"}) {
    EXPECT_EQ(FindBuiltin(text), -1) << '"' << text << '"';
  }
  EXPECT_EQ(FindBuiltin(std::string_view("pi\0", 3)), -1);
}

TEST(CatalogueArguments, AcceptExactlyTheRangeOfEachName) {
  const struct {
    std::string_view name;
    std::int32_t min, max;
  } cases[] = {
      {"pi", 0, 0},
      {"sin", 1, 1},
      {"arctan", 1, 2},
      {"max", 1, kAnyParameterCount},
      {"and", 2, kAnyParameterCount},
      {"xor", 2, kAnyParameterCount},
      {"bk", 1, kAnyParameterCount},
      {"if", 2, 3},
      {"while", 2, 2},
      {"directedinfinity", 1, 1},
      {"power", 2, 2},
  };
  for (const auto& c : cases) {
    const int index = FindBuiltin(c.name);
    EXPECT_FALSE(BuiltinAcceptsArgumentCount(index, c.min - 1)) << c.name;
    EXPECT_TRUE(BuiltinAcceptsArgumentCount(index, c.min)) << c.name;
    EXPECT_TRUE(BuiltinAcceptsArgumentCount(index, c.max)) << c.name;
    if (c.max != kAnyParameterCount) {
      EXPECT_FALSE(BuiltinAcceptsArgumentCount(index, c.max + 1)) << c.name;
    }
  }
  EXPECT_TRUE(BuiltinAcceptsArgumentCount(FindBuiltin("sum"), 1000));
  EXPECT_FALSE(BuiltinAcceptsArgumentCount(-1, 0));
  EXPECT_FALSE(BuiltinAcceptsArgumentCount(kBuiltinCount, 1));
}

TEST(CatalogueHelp, KeepsTheExactFixedTexts) {
  EXPECT_EQ(BuiltinHelpText(0),
            "IF 'ProtectVariables' property is false (default), IT IS MEAN THAT YOU CAN SET VALUES "
            "BY '=' OPERATOR: X=0 ");
  EXPECT_EQ(BuiltinHelpText(kCodeMultiply),
            "OPERATOR '* ' IS EQUIVALENT WITH OBJECT PASCAL OPERATOR : X*Y");
  EXPECT_EQ(BuiltinHelpText(kCodeDivide),
            "OPERATOR '/'  IS EQUIVALENT WITH OBJECT PASCAL OPERATOR : X/Y");
  EXPECT_EQ(BuiltinHelpText(kCodePower),
            "OPERATOR '^'  IS EQUIVALENT WITH OBJECT PASCAL  Power FUNCTION : X^Y -> Power(X,Y)");
  EXPECT_EQ(BuiltinHelpText(kCodeDefine),
            "OPERATOR '~ ' DEFINES FUNCTION ON RUNTIME : f(x)~sin(x)^2");
  EXPECT_EQ(BuiltinHelpText(kCodeCeiling),
            "FUNCTION 'SEILING' IS EQUIVALENT WITH OBJECT PASCAL 'SEIL'");
  EXPECT_EQ(BuiltinHelpText(kCodeNan), "'NAN' CONSTANT MEAN THAT VALUE IS NOT A NUMBER ");
  EXPECT_EQ(BuiltinHelpText(kCodeZero), "'ZERO'  CONSTANT");
  EXPECT_EQ(BuiltinHelpText(kCodeComplex),
            "FUNCTION 'COMPLEX' IS EQUIVALENT WITH OBJECT PASCAL 'VARCOMPLEXCREATE ' ");
  EXPECT_EQ(BuiltinHelpText(kCodeIscurrency), "FUNCTION 'ISCURRENCY' TESTS CURRENCY TYPE");
}

TEST(CatalogueHelp, NamesWithoutOwnTextUseTheUpperCaseGenericForm) {
  EXPECT_EQ(BuiltinHelpText(kCodePi), "FUNCTION 'PI' IS EQUIVALENT WITH OBJECT PASCAL FUNCTION");
  EXPECT_EQ(BuiltinHelpText(kCodeSin), "FUNCTION 'SIN' IS EQUIVALENT WITH OBJECT PASCAL FUNCTION");
  EXPECT_EQ(BuiltinHelpText(kCodeLog10),
            "FUNCTION 'LOG10' IS EQUIVALENT WITH OBJECT PASCAL FUNCTION");
  // 48 of the 95 names have a text of their own; a lost one would raise this count.
  int generic = 0;
  for (int code = kFirstBuiltinCode; code <= kLastBuiltinCode; ++code) {
    std::string upper(BuiltinName(code));
    for (char& c : upper)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string text = BuiltinHelpText(code);
    EXPECT_FALSE(text.empty()) << code;
    if (text == "FUNCTION '" + upper + "' IS EQUIVALENT WITH OBJECT PASCAL FUNCTION") ++generic;
  }
  EXPECT_EQ(generic, 47);
}

TEST(CatalogueHelp, OtherCodesGiveEmptyText) {
  for (const int code : {-1, kFirstUserFunctionCode, 65535})
    EXPECT_EQ(BuiltinHelpText(code), "");
}

}  // namespace
}  // namespace evaluator
