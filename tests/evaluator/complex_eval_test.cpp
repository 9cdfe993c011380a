// The evaluator object: initial state, construction with application functions, release,
// accessors, name checks and variable registration.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "evaluator/complex_eval.h"

namespace evaluator {
namespace {

TUserFunction ReturnsOne() {
  return [](const TEvalValue* const*, std::int32_t, TEvalValue& result) {
    result = TEvalValue::Real(1);
  };
}

TUserFuncArray FunctionTable(std::int32_t size) {
  TUserFuncArray table;
  for (std::int32_t i = 0; i < size; ++i) {
    std::string name = "f";
    name.append(std::to_string(i));
    table.push_back({name, ReturnsOne(), 1});
  }
  return table;
}

TEST(EvaluatorObject, NewObjectStartsEmptyWithDocumentedDefaults) {
  TTalvekComplexEval eval;
  EXPECT_EQ(eval.ErrorCode, 0);
  EXPECT_EQ(eval.MathErrorKind, -1);
  EXPECT_FALSE(eval.ErrorFlag);
  EXPECT_EQ(eval.MaxIteration, 100000);
  EXPECT_EQ(eval.MaxFunctionStack, 200);
  EXPECT_TRUE(eval.LinearExpression);
  EXPECT_TRUE(eval.PowerAsCaret);
  EXPECT_TRUE(eval.OriginalMathExpressionString);
  EXPECT_FALSE(eval.ImplicitMultiplication);
  EXPECT_FALSE(eval.CurrencyMode);
  EXPECT_EQ(eval.ResultCount, 0);
  EXPECT_EQ(eval.VariableCount, 0);
  EXPECT_EQ(eval.CommandCount, 0);
  EXPECT_EQ(eval.CellCount, 0);
  EXPECT_EQ(eval.GetUserFunctionCount(), 0);
  EXPECT_EQ(eval.GetRunTimeFunctionCount(), 0);
  EXPECT_EQ(eval.GetMaxFunctionCode(), 102);
  EXPECT_EQ(eval.GetVariables(), nullptr);
}

TEST(EvaluatorConstruction, TakesAValidTableInOrderWithTrimmedNames) {
  TUserFuncArray table = {{"  Alpha ", ReturnsOne(), 2}, {"beta", ReturnsOne(), 0}};
  TTalvekComplexEval eval(table);
  EXPECT_FALSE(eval.ErrorFlag);
  ASSERT_EQ(eval.GetUserFunctionCount(), 2);
  EXPECT_EQ(eval.GetUserFunctionName(0), "Alpha");
  EXPECT_EQ(eval.GetUserFunctionName(1), "beta");
  EXPECT_EQ(eval.GetMaxFunctionCode(), 104);
  // Fixed-count functions get their parameter cells, set to Null.
  ASSERT_NE(eval.UserFunctions[0].parameterCells, nullptr);
  EXPECT_TRUE(eval.UserFunctions[0].parameterCells[1]->IsNull());
  EXPECT_EQ(eval.UserFunctions[1].parameterCells, nullptr);
}

TEST(EvaluatorConstruction, RefusesMoreFunctionsThanSixteenBitCodesAllow) {
  TTalvekComplexEval eval(FunctionTable(65434));
  EXPECT_TRUE(eval.ErrorFlag);
  EXPECT_EQ(eval.ErrorCode, -19);
  EXPECT_EQ(eval.ErrorMessage, "Create-> FUNCTION NUMBER MUST BE LESS THAN : 65433");
  EXPECT_EQ(eval.GetUserFunctionCount(), 0);
}

TEST(EvaluatorConstruction, TakesTheLargestTableThatFits) {
  TTalvekComplexEval eval(FunctionTable(65433));
  EXPECT_FALSE(eval.ErrorFlag);
  EXPECT_EQ(eval.GetUserFunctionCount(), 65433);
  EXPECT_EQ(eval.GetMaxFunctionCode(), 65535);
}

TEST(EvaluatorConstruction, OneBadEntryLeavesNoApplicationFunctions) {
  struct Case {
    const char* label;
    TUserFuncArray table;
    std::int32_t code;
    std::string message;
  };
  const Case cases[] = {
      {"second entry has no function",
       {{"good", ReturnsOne(), 1}, {"missing", nullptr, 1}},
       -20,
       "Create-> FUNCTION ADDRESS CANNOT BE NIL : missing"},
      {"name repeated in another case",
       {{"Rate", ReturnsOne(), 1}, {"RATE", ReturnsOne(), 2}},
       -10,
       "IsValidIdentName-> DUBLICATING USER IDENTIFIER NAME: rate"},
      {"reserved name",
       {{"Sin", ReturnsOne(), 1}},
       -8,
       "IsValidIdentName-> IDENTIFIER CANNOT BE A RESERVED NAME: sin"},
      {"not an identifier",
       {{"2way", ReturnsOne(), 1}},
       -7,
       "IsValidIdentName-> NOT VALID PASCAL IDENTIFIER : 2way"},
      {"empty name",
       {{"   ", ReturnsOne(), 1}},
       -5,
       "IsValidIdentName-> IDENTIFIER NAME CANNOT BE EMPTY"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TTalvekComplexEval eval(c.table);
    EXPECT_TRUE(eval.ErrorFlag);
    EXPECT_EQ(eval.ErrorCode, c.code);
    EXPECT_EQ(eval.ErrorMessage, c.message);
    EXPECT_EQ(eval.GetUserFunctionCount(), 0);
    EXPECT_EQ(eval.FindFunctionCode("good"), 0);
  }
}

TEST(EvaluatorNames, IdentifierChecksRunInTheirStatedOrder) {
  TUserFuncArray table = {{"Rate", ReturnsOne(), 1}};
  TTalvekComplexEval eval(table);
  eval.PuneNumeVar(1, "x");
  eval.FuncArray.push_back(FuncRecord{.name = "fact", .parameterCount = 1});
  struct Case {
    std::string name;
    std::int32_t code;  // 0: accepted
    std::string message;
  };
  const std::string longName(256, 'a');
  const std::string longestName(255, 'a');
  const std::string nineThenLong = std::string(1, '9').append(longName);
  const Case cases[] = {
      {"", -5, "IsValidIdentName-> IDENTIFIER NAME CANNOT BE EMPTY"},
      {"()", -5, "IsValidIdentName-> IDENTIFIER NAME CANNOT BE EMPTY"},
      {"a b", -7, "IsValidIdentName-> NOT VALID PASCAL IDENTIFIER : a b"},
      {nineThenLong, -7, "IsValidIdentName-> NOT VALID PASCAL IDENTIFIER : " + nineThenLong},
      {longName, -6, "IsValidIdentName-> IDENTIFIER LENGTH MUST BE LESS THAN 256: " + longName},
      {longestName, 0, ""},
      {"PI", -8, "IsValidIdentName-> IDENTIFIER CANNOT BE A RESERVED NAME: pi"},
      {"X", -9, "IsValidIdentName-> IDENTIFIER NAME ALREADY EXIST : x"},
      {"rate", -10, "IsValidIdentName-> DUBLICATING USER IDENTIFIER NAME: rate"},
      {"Fact", -10, "IsValidIdentName-> DUBLICATING USER IDENTIFIER NAME: fact"},
      {" ((Speed_2)) ", 0, ""},
      {"_tmp", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    eval.ErrorCode = 0;
    eval.ErrorMessage.clear();
    EXPECT_EQ(eval.IsValidIdentName(c.name), c.code == 0);
    EXPECT_EQ(eval.ErrorCode, c.code);
    EXPECT_EQ(eval.ErrorMessage, c.message);
    EXPECT_FALSE(eval.ErrorFlag) << "the check reports but never raises the flag";
  }
}

TEST(EvaluatorVariables, RegistersAppendsAndRenamesByIndex) {
  TTalvekComplexEval eval;
  eval.PuneNumeVar(1, " Alpha ");
  eval.PuneNumeVar(2, "beta");
  ASSERT_FALSE(eval.ErrorFlag);
  EXPECT_EQ(eval.VariableCount, 2);
  EXPECT_EQ(eval.GetVariableName(1), "Alpha");
  EXPECT_TRUE(eval.VarVect[0].value->IsNull());
  EXPECT_FALSE(eval.VarVect[0].external);

  *eval.VarVect[1].value = TEvalValue::Real(7);
  eval.PuneNumeVar(2, "gamma");
  EXPECT_FALSE(eval.ErrorFlag);
  EXPECT_EQ(eval.GetVariableName(2), "gamma");
  EXPECT_TRUE(eval.VarVect[1].value->IsNull()) << "a renamed variable starts again at Null";
  EXPECT_EQ(eval.GetVariableName(3), "");

  eval.PuneNumeVar(5, "a");
  EXPECT_TRUE(eval.ErrorFlag);
  EXPECT_EQ(eval.ErrorMessage, "PuneNumeVar-> VARIABLE INDEX MUST BE BETWEEN 1 AND 3");

  eval.PuneNumeVar(1, "alpha");
  EXPECT_TRUE(eval.ErrorFlag);
  EXPECT_EQ(eval.ErrorCode, -9);
}

TEST(EvaluatorVariables, IndexErrorOnAnEmptyTableSaysNoVariablesExist) {
  TTalvekComplexEval eval;
  eval.ErrorCode = 5;
  eval.PuneNumePointerVar(3, "a", false, nullptr);
  EXPECT_TRUE(eval.ErrorFlag);
  EXPECT_EQ(eval.ErrorMessage, "PuneNumePointerVar-> NO VARIABLES EXIST");
  EXPECT_EQ(eval.ErrorCode, 5) << "an index error leaves the code alone";
}

TEST(EvaluatorVariables, NameEndingDecidesFixedness) {
  TTalvekComplexEval eval;
  eval.FixDigitEndingNames = true;
  eval.PuneNumeVar(1, "c2");
  eval.PuneNumeVar(2, "c");
  EXPECT_TRUE(eval.VarVect[0].fixed);
  EXPECT_FALSE(eval.VarVect[1].fixed);

  TTalvekComplexEval letters;
  letters.FixLetterEndingNames = true;
  letters.PuneNumeVar(1, "c2");
  letters.PuneNumeVar(2, "c");
  EXPECT_FALSE(letters.VarVect[0].fixed);
  EXPECT_TRUE(letters.VarVect[1].fixed);
}

TEST(EvaluatorVariables, CallersCellsAreUsedAndSurviveRelease) {
  TEvalValue owned = TEvalValue::Real(3);
  {
    TTalvekComplexEval eval;
    eval.PuneNumePointerVar(1, "k", true, &owned);
    eval.PuneNumePointerVar(2, "m", false, nullptr);
    ASSERT_FALSE(eval.ErrorFlag);
    EXPECT_EQ(eval.VarVect[0].value, &owned);
    EXPECT_TRUE(eval.VarVect[0].external);
    EXPECT_TRUE(eval.VarVect[0].fixed);
    EXPECT_FALSE(eval.VarVect[1].external);
    EXPECT_EQ(eval.CellCount, 1) << "only the variable without a cell got one";
    *eval.VarVect[0].value = TEvalValue::Real(4);
    eval.Release();
    EXPECT_EQ(eval.VariableCount, 0);
  }
  EXPECT_EQ(owned.kind, vkReal);
  EXPECT_EQ(owned.real, 4);
}

TEST(EvaluatorRelease, ReleaseOfAnEmptyObjectSucceedsQuietly) {
  TTalvekComplexEval eval;
  int fired = 0;
  eval.OnParseError = [&](TTalvekComplexEval&) { ++fired; };
  eval.Release();
  EXPECT_FALSE(eval.ErrorFlag);
  EXPECT_EQ(eval.ErrorCode, 0);
  EXPECT_EQ(fired, 0);
}

TEST(EvaluatorRelease, ReleaseFreesAParseAndResetsCountersButKeepsFunctions) {
  TUserFuncArray table = {{"rate", ReturnsOne(), 1}};
  TTalvekComplexEval eval(table);
  eval.PuneNumeVar(1, "x");
  TEvalValue** cells = eval.NewCellArray(2);
  cells[0] = eval.NewCell();
  eval.ListaProc.push_back({cells, cells, 1, kCodeAdd});
  eval.CommandCount = 1;
  eval.ResultCount = 1;
  eval.ResultCells = cells;
  eval.LinearExpression = false;
  eval.MathExpressionString = "x+1";
  eval.MainCommands = {1};
  eval.FuncArray.push_back(FuncRecord{.name = "g"});
  eval.IfArray.push_back(IfRecord{.command = 1});
  ASSERT_NE(eval.GetVariables(), nullptr);
  EXPECT_EQ(eval.VectorCellTotal, 2);

  eval.Release();
  EXPECT_EQ(eval.ErrorCode, 0);
  EXPECT_EQ(eval.VariableCount, 0);
  EXPECT_EQ(eval.CellCount, 0);
  EXPECT_EQ(eval.VectorCount, 0);
  EXPECT_EQ(eval.VectorCellTotal, 0);
  EXPECT_EQ(eval.CommandCount, 0);
  EXPECT_EQ(eval.ResultCount, 0);
  EXPECT_EQ(eval.ResultCells, nullptr);
  EXPECT_TRUE(eval.LinearExpression);
  EXPECT_TRUE(eval.MathExpressionString.empty());
  EXPECT_TRUE(eval.MainCommands.empty());
  EXPECT_TRUE(eval.ListaProc.empty());
  EXPECT_TRUE(eval.FuncArray.empty());
  EXPECT_TRUE(eval.IfArray.empty());
  EXPECT_EQ(eval.GetVariables(), nullptr);
  EXPECT_EQ(eval.GetUserFunctionCount(), 1);
  EXPECT_EQ(eval.FindFunctionCode("RATE"), kFirstUserFunctionCode);
}

TEST(EvaluatorRelease, VariablesAloneDoNotExposeTheTable) {
  // The variable table is only handed out once a cell-pointer array exists.
  TTalvekComplexEval eval;
  eval.PuneNumeVar(1, "x");
  EXPECT_EQ(eval.GetVariables(), nullptr);
  eval.NewCellArray(1);
  ASSERT_NE(eval.GetVariables(), nullptr);
  EXPECT_EQ(eval.GetVariables()->size(), 1u);
}

TEST(EvaluatorRelease, FailureFinishKeepsTheErrorAndFiresTheHandlerOnce) {
  TTalvekComplexEval eval;
  std::vector<std::int32_t> seen;
  eval.OnParseError = [&](TTalvekComplexEval& sender) { seen.push_back(sender.ErrorCode); };
  eval.PuneNumeVar(1, "x");
  eval.ResultCount = 1;
  eval.ErrorCode = -32;
  eval.ErrorMessage = "ExpresieSemanticCorecta->  UNKNOWN VARIABLE: y";
  eval.FinishParseError();
  EXPECT_TRUE(eval.ErrorFlag);
  EXPECT_EQ(eval.ErrorCode, -32);
  EXPECT_EQ(eval.ErrorMessage, "ExpresieSemanticCorecta->  UNKNOWN VARIABLE: y");
  EXPECT_EQ(eval.ResultCount, 0);
  EXPECT_EQ(eval.VariableCount, 0);

  eval.ErrorCode = 0;
  eval.ErrorMessage = "something";
  eval.FinishParseError();
  EXPECT_EQ(eval.ErrorCode, -22) << "a failure without a code gets the parse's default";
  EXPECT_EQ(seen, (std::vector<std::int32_t>{-32, -22}));
}

TEST(EvaluatorRelease, DestroyEmptiesTheApplicationFunctions) {
  TUserFuncArray table = {{"rate", ReturnsOne(), 1}};
  TTalvekComplexEval eval(table);
  eval.Destroy();
  EXPECT_EQ(eval.GetUserFunctionCount(), 0);
  EXPECT_EQ(eval.FindFunctionCode("rate"), 0);
}

TEST(EvaluatorAccessors, SettersResetWhatTheyInvalidate) {
  TTalvekComplexEval eval;
  eval.MathExpressionString = "a";
  eval.DerivativeString = "b";
  eval.SetOriginalMathExpressionString(false);
  EXPECT_FALSE(eval.OriginalMathExpressionString);
  EXPECT_TRUE(eval.MathExpressionString.empty());
  EXPECT_TRUE(eval.DerivativeString.empty());

  eval.ResultCount = 1;
  eval.SetCurrencyMode(true);
  EXPECT_TRUE(eval.CurrencyMode);
  EXPECT_EQ(eval.ResultCount, 0) << "changing the mode discards the parse";
}

TEST(EvaluatorAccessors, FunctionIndexesOutsideTheTablesAreHandled) {
  TTalvekComplexEval eval;
  EXPECT_EQ(eval.GetUserFunctionName(-1), "INCORRECT FUNCTION INDEX");
  EXPECT_EQ(eval.GetUserFunctionName(0), "INCORRECT FUNCTION INDEX");
  EXPECT_EQ(eval.GetRunTimeFunctionText(0), "");
  eval.FuncArray.push_back(FuncRecord{.name = "f", .text = "f(x)~x^2", .parameterCount = 1});
  EXPECT_EQ(eval.GetRunTimeFunctionText(0), "f(x)~x^2");
  EXPECT_EQ(eval.GetRunTimeFunctionText(1), "");
}

TEST(EvaluatorLookup, BuiltinsThenApplicationThenRuntimeFunctions) {
  TUserFuncArray table = {{"Rate", ReturnsOne(), 1}, {"Npv", ReturnsOne(), kAnyParameterCount}};
  TTalvekComplexEval eval(table);
  eval.FuncArray.push_back(FuncRecord{.name = "Fact", .parameterCount = 1});
  EXPECT_EQ(eval.FindFunctionCode("SIN"), kCodeSin);
  EXPECT_EQ(eval.FindFunctionCode("npv"), 104);
  EXPECT_EQ(eval.FindFunctionCode("FACT"), 105);
  EXPECT_EQ(eval.FindFunctionCode("nothing"), 0);
  EXPECT_EQ(eval.FunctionName(kCodeDivide), "/");
  EXPECT_EQ(eval.FunctionName(kCodeLog2), "log2");
  EXPECT_EQ(eval.FunctionName(103), "Rate");
  EXPECT_EQ(eval.FunctionName(105), "Fact");
  EXPECT_EQ(eval.FunctionName(106), "");
}

TEST(EvaluatorHelp, TextsCoverEveryCodeInUse) {
  TUserFuncArray table = {{"Rate", ReturnsOne(), 0},
                          {"Npv", ReturnsOne(), kAnyParameterCount},
                          {"Pmt", ReturnsOne(), 3},
                          {"Tick", ReturnsOne(), -1}};
  TTalvekComplexEval eval(table);
  eval.FuncArray.push_back(FuncRecord{.name = "fact", .parameterCount = 1});
  EXPECT_EQ(eval.GetHelpText(103), "CONSTANT 'RATE' IS DEFINED BY USER");
  EXPECT_EQ(eval.GetHelpText(104),
            "FUNCTION 'NPV' WITH A VARIABLE NUMBER OF PARAMETERS IS DEFINED BY USER");
  EXPECT_EQ(eval.GetHelpText(105), "FUNCTION 'PMT' WITH 3 PARAMETERS IS DEFINED BY USER");
  EXPECT_EQ(eval.GetHelpText(106), "FUNCTION 'TICK' WITH 0 PARAMETERS IS DEFINED BY USER");
  EXPECT_EQ(eval.GetHelpText(107), "RUNTIME FUNCTION 'FACT' WITH 1 PARAMETERS IS DEFINED BY USER");
  EXPECT_EQ(eval.GetHelpText(108), "INDEX MUST BE BETWEEN  0 AND 107");
  EXPECT_EQ(eval.GetHelpText(-1), "INDEX MUST BE BETWEEN  0 AND 107");
  EXPECT_EQ(eval.GetHelpText(78), "FUNCTION 'SEILING' IS EQUIVALENT WITH OBJECT PASCAL 'SEIL'");
}

TEST(EvaluatorHelp, ThirtyEightApplicationFunctionsRunTheListToCode140) {
  TTalvekComplexEval eval(FunctionTable(38));
  EXPECT_EQ(eval.GetMaxFunctionCode(), 140);
  for (std::int32_t code = 0; code <= 140; ++code) {
    EXPECT_EQ(eval.GetHelpText(code).find("INDEX MUST BE"), std::string::npos) << code;
  }
  EXPECT_EQ(eval.GetHelpText(141), "INDEX MUST BE BETWEEN  0 AND 140");
}

TEST(EvaluatorText, OuterParenthesesGoOnlyWhenTheyEncloseTheWholeText) {
  const std::pair<const char*, const char*> cases[] = {
      {"((a))", "a"},
      {"(a)+(b)", "(a)+(b)"},
      {"((a)+(b))", "(a)+(b)"},
      {"()", ""},
      {"", ""},
      {"(((", "((("},
      {"((a)*b)", "(a)*b"},
      {"(f(x))", "f(x)"},
      {"((a))+b", "((a))+b"},
  };
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(TTalvekComplexEval::StripOuterParentheses(in), out) << in;
  }
}

TEST(EvaluatorText, ReferenceTokensExpandToTheirEntriesText) {
  TTalvekComplexEval eval;
  eval.ListStr.push_back(TRecord1{.text = "(1e5)"});
  eval.ListStr.push_back(TRecord1{.text = "x+{0}"});
  EXPECT_EQ(eval.ExpandReferences("2*{1}"), "2*(x+((1e5)))");
  // Tokens the parser never writes are left as they stand.
  EXPECT_EQ(eval.ExpandReferences("a{7}"), "a{7}");
  EXPECT_EQ(eval.ExpandReferences("a{x}"), "a{x}");
  EXPECT_EQ(eval.ExpandReferences("a{"), "a{");
}

TEST(EvaluatorErrors, CodeTableCoversEveryCodeOnce) {
  std::set<std::int32_t> codes;
  for (const TErrorCodeRow& row : kErrorCodeTable) {
    EXPECT_FALSE(row.text.empty());
    codes.insert(row.code);
  }
  for (std::int32_t code = -1; code >= -42; --code) {
    if (code == -13 || code == -14) {
      EXPECT_EQ(codes.count(code), 0u) << code;
    } else {
      EXPECT_EQ(codes.count(code), 1u) << code;
    }
  }
  EXPECT_EQ(OperatorErrorCode(kCodeMultiply), -25);
  EXPECT_EQ(OperatorErrorCode(kCodeAssign), -30);
}

TEST(EvaluatorErrors, MathExceptionTextsByKind) {
  EXPECT_EQ(EMathError::MathExceptionText(0), "NON MATHEMATICAL EXCEPTION");
  EXPECT_EQ(EMathError::MathExceptionText(4), "EZeroDivide->Attempt to divide by zero");
  EXPECT_EQ(EMathError::MathExceptionText(5),
            "EInvalidOp->Processor encountered an undefined instruction");
  EXPECT_EQ(EMathError::MathExceptionText(6), "INDEX MUST BE BETWEEN  0 AND 5");
  EXPECT_EQ(EMathError::MathExceptionText(-1), "INDEX MUST BE BETWEEN  0 AND 5");
}

}  // namespace
}  // namespace evaluator
