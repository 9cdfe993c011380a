// libFuzzer target: any text through each parse entry point in every mode; each successful
// parse is exported and run through the execution entry points, then released and repeated.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"

namespace fuzzing {
namespace {

using evaluator::TUserValuesArray;
using evaluator::TUserVarArray;

// Work units (see BoundWork) one execution may take: a parse runs a handful of times, and deep
// enough to reach the interpreter's nesting bound.
constexpr double kWorkPerExecution = 3e4;

// Calls every runtime function with reals, with values of every kind read from the text's own
// bytes, and with a wrong argument count.
void RunTimeFunctions(TTalvekComplexEval& eval, const std::string& text) {
  TValueReader reader({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  TEvalValue result;
  for (std::int32_t i = 0; i < eval.GetRunTimeFunctionCount(); ++i) {
    const std::int32_t count = eval.FuncArray[static_cast<std::size_t>(i)].parameterCount;
    TUserValuesArray reals;
    TUserValuesArray mixed;
    for (std::int32_t k = 0; k < count; ++k) {
      reals.push_back(TEvalValue::Real(k + 1.5));
      mixed.push_back(reader.Next());
    }
    for (const TUserValuesArray* values : {&reals, &mixed}) {
      eval.DoRunTimeFunction(i, *values, result);
      CheckExecution(eval);
      if (!eval.ErrorFlag) evaluator::ValueToText(result);
    }
    reals.push_back(TEvalValue::Null());
    eval.DoRunTimeFunction(i, reals, result);
    if (eval.ErrorCode != evaluator::ecValueCount) Violation("wrong value count accepted", eval);
  }
  eval.DoRunTimeFunction(eval.GetRunTimeFunctionCount(), {}, result);
  if (!eval.ErrorFlag) Violation("runtime function index past the end accepted", eval);
  CheckStatedError(eval);
}

// The derivative, plain and in Mathematica form, and the parsed text in Mathematica form, as
// the derivative window and the export read them.
void Export(TTalvekComplexEval& eval, bool derivation) {
  std::string text;
  for (const bool asMathematica : {false, true}) {
    eval.GetDerivative(asMathematica, text);
    CheckStatedError(eval);
    if (!derivation && eval.ErrorCode != evaluator::ecNotDerivationParse) {
      Violation("derivative of a parse without derivation", eval);
    }
    if (derivation && eval.ErrorFlag && eval.ErrorCode != evaluator::ecDerivativeErased) {
      Violation("derivation parse without derivative", eval);
    }
  }
  eval.GetMathematicaExpression(text);
}

// What a parse tells its owner.
struct TParseOutcome {
  std::int32_t errorCode;
  std::string errorMessage;
  std::int32_t resultCount;
  std::int32_t commandCount;
  std::int32_t variableCount;
  std::int32_t runTimeFunctionCount;
  std::string expression;
  std::string derivative;

  static TParseOutcome Of(const TTalvekComplexEval& eval) {
    return {eval.ErrorCode,
            eval.ErrorMessage,
            eval.ResultCount,
            eval.CommandCount,
            eval.VariableCount,
            eval.GetRunTimeFunctionCount(),
            eval.MathExpressionString,
            eval.DerivativeString};
  }
  bool operator==(const TParseOutcome&) const = default;
};

}  // namespace
}  // namespace fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzzing;
  if (size == 0) return 0;
  const TModes modes = TModes::FromByte(data[0]);
  // The text, then optionally after zero bytes the variable names and the derivative variable.
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t namesStart = std::min(input.find('\0'), input.size());
  const std::size_t variableStart = std::min(input.find('\0', namesStart + 1), input.size());
  const std::string text = input.substr(0, namesStart);
  const std::string names = namesStart < input.size()
                                ? input.substr(namesStart + 1, variableStart - namesStart - 1)
                                : kVariableNames;
  const std::string derivativeVariable =
      variableStart < input.size() ? input.substr(variableStart + 1) : kDerivativeVariable;
  const auto eval = MakeEvaluator(modes);

  // The caller's cells of the pointer mode; "n" has none, so the evaluator makes its own.
  TEvalValue cells[kVariableCount] = {
      TEvalValue::Real(0.5),
      TEvalValue::Real(-2),
      TEvalValue::Complex(1, 2),
      TEvalValue{},
      TEvalValue::CurrencyScaled(125000),
      TEvalValue::Boolean(true),
  };
  TUserVarArray variables{
      {"x", &cells[0], false}, {"y", &cells[1], false}, {"z", &cells[2], false},
      {"n", nullptr, false},   {"a", &cells[4], true},  {"b", &cells[5], false},
  };
  // Names from the input go to the caller's cells in order, as written.
  for (std::size_t k = 0, start = 0; k < variables.size() && start <= names.size(); ++k) {
    const std::size_t comma = std::min(names.find(',', start), names.size());
    variables[k].name = names.substr(start, comma - start);
    start = comma + 1;
  }

  const auto parse = [&] {
    switch (modes.entryPoint) {
      case 0:
        eval->VerifySyntaxSemantics(text, names, modes.definitions);
        break;
      case 1:
        eval->VerifySyntaxSemanticsAutoVar(text);
        break;
      case 2:
        eval->VerifySyntaxSemanticsPointerVar(text, variables, modes.definitions);
        break;
      default:
        eval->VerifySyntaxSemanticsAndDerivation(text, names, modes.definitions,
                                                 derivativeVariable);
        break;
    }
    return TParseOutcome::Of(*eval);
  };
  const TParseOutcome first = parse();
  CheckParse(*eval);
  if (!eval->ErrorFlag) {
    BoundWork(*eval, kWorkPerExecution);
    ReadBack(*eval);
    Export(*eval, modes.entryPoint == 3);
    ExecuteResults(*eval);
    // A second run starts from whatever the first one left in the cells.
    ExecuteResults(*eval);
    RunTimeFunctions(*eval, text);
  }

  eval->Release();
  if (eval->ErrorFlag || eval->ResultCount != 0) Violation("release failed", *eval);
  TEvalValue result;
  eval->DoMathExpression(result);
  if (eval->ErrorCode != evaluator::ecNothingParsed) Violation("ran a released parse", *eval);

  // Nothing of the first parse or its runs may show in a second parse of the same text. A
  // derivation parse is not repeated: it is the costliest work a parse does, and twice would
  // take long texts past the time limit in this instrumented build.
  const bool derivation = modes.entryPoint == 3;
  if (!derivation && !(parse() == first)) Violation("second parse of the same text differs", *eval);
  return 0;
}
