// The parse driver: the four parse entry points and the fixed order of stages from raw text to
// compiled commands.
#include <algorithm>
#include <exception>

#include "evaluator/compiler.h"
#include "evaluator/complex_eval.h"
#include "evaluator/text_utils.h"

namespace evaluator {

namespace {

// ")(" is refused outright; otherwise the parentheses must balance without ever closing more
// than were opened. Returns ecNone, ecParentheses or ecSyntax.
TErrorCode CheckParentheses(std::string_view text) {
  int depth = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '(') {
      if (i > 0 && text[i - 1] == ')') return ecSyntax;
      ++depth;
    } else if (text[i] == ')') {
      if (i + 1 < text.size() && text[i + 1] == '(') return ecSyntax;
      if (--depth < 0) return ecParentheses;
    }
  }
  return depth == 0 ? ecNone : ecParentheses;
}

}  // namespace

void TTalvekComplexEval::VerifySyntaxSemantics(const std::string& text,
                                               const std::string& variableNames, bool definitions) {
  VariableMode = 0;
  VerifySyntaxSemanticsRule(text, variableNames, definitions, false, nullptr, {});
}

void TTalvekComplexEval::VerifySyntaxSemanticsAutoVar(const std::string& text) {
  VariableMode = 1;
  VerifySyntaxSemanticsRule(text, {}, true, false, nullptr, {});
}

void TTalvekComplexEval::VerifySyntaxSemanticsPointerVar(const std::string& text,
                                                         const TUserVarArray& variables,
                                                         bool definitions) {
  VariableMode = 2;
  VerifySyntaxSemanticsRule(text, {}, definitions, false, &variables, {});
}

void TTalvekComplexEval::VerifySyntaxSemanticsAndDerivation(const std::string& text,
                                                            const std::string& variableNames,
                                                            bool definitions,
                                                            const std::string& derivativeVariable) {
  VariableMode = 0;
  VerifySyntaxSemanticsRule(text, variableNames, definitions, true, nullptr, derivativeVariable);
}

void TTalvekComplexEval::VerifySyntaxSemanticsRule(const std::string& text,
                                                   const std::string& variableNames,
                                                   bool definitions, bool derivation,
                                                   const TUserVarArray* variables,
                                                   const std::string& derivativeVariable) {
  MathErrorKind = mekNone;
  Release();
  if (ErrorFlag) return;
  if (derivation) {
    if (!IsValidIdentName(derivativeVariable)) {
      ErrorFlag = true;
      ErrorMessage = std::string(msg::kDerivativeVariable) + ErrorMessage;
      ErrorCode = ecDerivativeVariable;
      if (OnParseError) OnParseError(*this);
      return;
    }
    DerivationMode = true;
    DerivativeVariable = TrimBlanks(derivativeVariable);
  }
  auto fail = [&](TErrorCode code, std::string_view message) {
    ErrorFlag = true;
    ErrorCode = code;
    ErrorMessage = std::string(message);
    FinishParseError();
  };

  try {
    if (const TErrorCode parentheses = CheckParentheses(text); parentheses != ecNone) {
      return fail(parentheses, msg::kParentheses);
    }
    std::string work = text;
    if (!StergeSpatii(work)) return FinishParseError();
    if (work.empty()) return fail(ecEmptyExpression, msg::kEmptyExpression);
    for (char& c : work)
      c = AsciiLower(c);
    if (!FormatareaExponentei(work, false)) return FinishParseError();

    if (VariableMode == 0) {
      RegisterVariableList(variableNames);
    } else if (VariableMode == 2 && variables != nullptr) {
      for (std::size_t i = 0; i < variables->size() && !ErrorFlag; ++i) {
        const TUserVarRec& variable = (*variables)[i];
        PuneNumePointerVar(static_cast<std::int32_t>(i + 1), variable.name, variable.fixed,
                           variable.value);
      }
    }
    if (ErrorFlag) return FinishParseError();
    if (definitions) VariableMode = 1;

    TCompiler compiler(*this);
    const std::int32_t root = compiler.Compile(work);
    if (root < 0 || ErrorFlag) return FinishParseError();

    for (const FuncRecord& function : FuncArray) {
      if (function.parameterCells == nullptr || function.bodyResult == nullptr) {
        return fail(ecNotImplemented, std::string(msg::kNotImplemented) + function.name);
      }
    }

    const TRecord1& whole = ListStr[static_cast<std::size_t>(root)];
    ResultCells = whole.cells;
    ResultCount = whole.cellCount;
    ResultDependent = whole.dependent;
    ResultFixed = whole.fixed;
    ResultProtected = whole.isProtected;
    MathExpressionString =
        OriginalMathExpressionString ? text : CleanSigns(compiler.EntryText(root));
    DerivativeString = CleanSigns(DetailOf(whole).derivative);
    if (DerivationMode && DerivativeString.empty()) DerivativeString = "nan";
    MainCommands = compiler.CommandsOf(root);
    if (whole.fixed || MainCommands.empty()) {
      // Folding computed the values: only commands such as a draw of random(1) still run, once
      // each and in creation order, and never the body of a definition.
      std::sort(MainCommands.begin(), MainCommands.end());
      MainCommands.erase(std::unique(MainCommands.begin(), MainCommands.end()), MainCommands.end());
      CommandsWithoutMain = std::move(MainCommands);
      MainCommands.clear();
    }
    CommandPlan.wanted = true;
    ListStr.clear();
    ListStrDetails.clear();
  } catch (const std::exception& e) {
    ErrorFlag = true;
    ErrorMessage = std::string("VerifySyntaxSemanticsRule-> : ") + e.what();
    FinishParseError();
  }
}

void TTalvekComplexEval::RegisterVariableList(const std::string& variableNames) {
  const std::string list = TrimBlanks(variableNames);
  std::int32_t index = 1;
  std::size_t position = 0;
  while (position < list.size() && !ErrorFlag) {
    const std::size_t comma = list.find(',', position);
    if (comma == std::string::npos) {
      PuneNumeVar(index, list.substr(position));
      return;
    }
    const std::string piece = list.substr(position, comma - position);
    // An empty name before a comma: the rest of the list, comma included, is the name refused.
    PuneNumeVar(index++, TrimBlanks(piece).empty() ? list.substr(position) : piece);
    position = comma + 1;
  }
}

}  // namespace evaluator
