// libFuzzer target: random expressions over reals, built from the input's bytes, run by the
// typed plan and by the full rules alone. Values, codes, kinds, messages and the cells callers
// read must agree bit for bit, for the expression, for a runtime function with it as body, and
// for two functions that call themselves and each other under ifs, with a small depth limit.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <span>
#include <string>

#include "evaluator/complex_eval.h"

namespace {

using evaluator::TEvalValue;
using evaluator::TTalvekComplexEval;

class TBytes {
 public:
  explicit TBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint8_t Next() { return at_ < bytes_.size() ? bytes_[at_++] : 0; }
  bool Done() const { return at_ >= bytes_.size(); }
  double Double() {
    std::uint64_t bits = 0;
    for (int k = 0; k < 8; ++k)
      bits = bits << 8 | Next();
    double x = 0;
    std::memcpy(&x, &bits, sizeof x);
    return x;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

constexpr double kInf = std::numeric_limits<double>::infinity();
// Values where the typed plan must hand over to the full rules, and ordinary ones.
constexpr double kValues[] = {0,
                              -0.0,
                              1,
                              -1,
                              0.5,
                              2,
                              3,
                              -3,
                              1e308,
                              -1e308,
                              1e-310,
                              1e154,
                              710,
                              -745,
                              1e-160,
                              7.25,
                              kInf,
                              -kInf,
                              std::numeric_limits<double>::quiet_NaN(),
                              1.5707963267948966};
constexpr const char* kLiterals[] = {"0",     "1",      "2",    "3",  "0.5",
                                     "1e300", "1e-300", "7.25", "pi", "10"};
constexpr const char* kFunctions[] = {
    "sin",   "cos",    "tan",   "exp",    "ln",     "log",     "sqrt",    "abs",
    "sqr",   "arctan", "tanh",  "sinh",   "cosh",   "floor",   "ceil",    "int",
    "log10", "log2",   "lnxp1", "arcsin", "arccos", "arccosh", "arcsinh", "arctanh",
};
constexpr const char kOperators[] = "+-*/^";

constexpr const char* kComparisons[] = {"eq", "uneq", "ls", "gr", "lseq", "greq"};

// An expression in the variables named by `names`, at most `depth` levels deep; with `calls`,
// it may call f and g (three arguments each) and hold ifs on comparisons.
std::string Expression(TBytes& bytes, int depth, const char* const* names, bool calls = false) {
  const std::uint8_t b = bytes.Next();
  const int shapes = calls ? 10 : 8;
  if (depth == 0 || b % shapes < 2 || bytes.Done()) {
    const std::uint8_t c = bytes.Next();
    return c % 2 == 0 ? names[c / 2 % 3] : kLiterals[c / 2 % std::size(kLiterals)];
  }
  const auto sub = [&] { return Expression(bytes, depth - 1, names, calls); };
  switch (b % shapes) {
    case 8: {
      std::string text = bytes.Next() % 2 ? "f(" : "g(";
      for (int k = 0; k < 3; ++k)
        text += (k > 0 ? "," : "") + sub();
      return text + ")";
    }
    case 9: {
      const std::uint8_t c = bytes.Next();
      std::string text = std::string("if(") + kComparisons[c % std::size(kComparisons)] + "(";
      text += sub();
      text += ",";
      text += sub();
      text += "),";
      text += sub();
      if (c / 8 % 4 != 0) text += "," + sub();
      return text + ")";
    }
    case 2:
    case 3:
    case 4: {
      const char op = kOperators[bytes.Next() % 5];
      const std::string left = sub();
      if (op == '^' && bytes.Next() % 2 == 0)
        return "(" + left + ")^" + (bytes.Next() % 2 ? "2" : "3");
      return "(" + left + ")" + op + "(" + sub() + ")";
    }
    case 5:
    case 6:
      return std::string(kFunctions[bytes.Next() % std::size(kFunctions)]) + "(" + sub() + ")";
    default: {
      std::string text = bytes.Next() % 2 ? "max(" : "min(";
      const int count = 1 + bytes.Next() % 3;
      for (int k = 0; k < count; ++k)
        text += (k > 0 ? "," : "") + sub();
      return text + ")";
    }
  }
}

std::string Bits(double x) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return std::to_string(bits);
}

std::string CellText(const TEvalValue& cell) {
  return " " + std::to_string(cell.kind) + " " + Bits(cell.real);
}

// What a caller sees: the error fields, the result and the result cells, bit for bit; with
// `commandCells`, after a run without fault, every command's cell too.
std::string Outcome(const TTalvekComplexEval& eval, const TEvalValue& result,
                    bool commandCells = false) {
  std::string seen = std::to_string(eval.ErrorFlag) + " " + std::to_string(eval.ErrorCode) + " " +
                     std::to_string(eval.MathErrorKind) + " " + eval.ErrorMessage + " |" +
                     CellText(result);
  if (!eval.ErrorFlag) {
    seen += " |";
    for (std::int32_t k = 0; k < eval.ResultCount; ++k)
      seen += CellText(*eval.ResultCells[k]);
    if (commandCells) {
      seen += " |";
      for (const evaluator::TProcRec& command : eval.ListaProc)
        seen += CellText(*command.result[0]);
    }
  }
  return seen;
}

struct TPair {
  TEvalValue cells[2][3];
  TTalvekComplexEval eval[2];  // 0: typed plan, 1: full rules

  bool Parse(const std::string& text, std::int32_t maxFunctionStack = 200) {
    for (int k = 0; k < 2; ++k) {
      eval[k].MaxFunctionStack = maxFunctionStack;
      eval[k].VerifySyntaxSemanticsPointerVar(
          text,
          {{"x", &cells[k][0], false}, {"y", &cells[k][1], false}, {"z", &cells[k][2], false}},
          false);
      if (eval[k].ErrorFlag) return false;
    }
    eval[1].CommandPlan.wanted = false;
    return true;
  }
};

[[noreturn]] void Differ(const std::string& text, const std::string& typed,
                         const std::string& full) {
  std::fprintf(stderr, "plans differ on %s\n  typed: %s\n  full:  %s\n", text.c_str(),
               typed.c_str(), full.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TBytes bytes({data, size});
  static constexpr const char* kMain[] = {"x", "y", "z"};
  static constexpr const char* kParameters[] = {"a", "b", "c"};
  TBytes copy = bytes;
  const std::string main = Expression(bytes, 7, kMain);
  const std::string body = Expression(copy, 7, kParameters);

  // Two functions that may call themselves and each other, and a main expression calling
  // them; the depth limit is small, so that recursion without an end stops soon.
  static constexpr const char* kBodies[] = {"a", "b", "x"};
  const std::int32_t limit = 1 + bytes.Next() % 6;
  std::string recursive = "f(a,b,c)~" + Expression(bytes, 4, kBodies, true);
  recursive += ", g(a,b,c)~" + Expression(bytes, 4, kParameters, true);
  recursive += ", " + Expression(bytes, 4, kMain, true);

  TPair expression;
  TPair function;
  TPair calls;
  TPair table;  // the same, called by DoRunTimeFunction alone
  const bool parsed = expression.Parse(main);
  const bool defined = function.Parse("f(a,b,c)~" + body + ", f(x,y,z)");
  const bool callsParsed = calls.Parse(recursive, limit) && table.Parse(recursive, limit);
  if (defined) {
    for (TTalvekComplexEval& eval : function.eval)
      eval.DoVectorOfMathExpressions();
  }
  for (int round = 0; round < 16 && !bytes.Done(); ++round) {
    TEvalValue point[3];
    for (TEvalValue& v : point) {
      const std::uint8_t b = bytes.Next();
      v = TEvalValue::Real(b < 224 ? kValues[b % std::size(kValues)] : bytes.Double());
    }
    std::string outcome[2];
    if (parsed) {
      for (int k = 0; k < 2; ++k) {
        for (int i = 0; i < 3; ++i)
          expression.cells[k][i] = point[i];
        TEvalValue result;
        expression.eval[k].DoMathExpression(result);
        outcome[k] = Outcome(expression.eval[k], result);
      }
      if (outcome[0] != outcome[1]) Differ(main, outcome[0], outcome[1]);
    }
    if (defined) {
      const evaluator::TUserValuesArray values(point, point + 3);
      for (int k = 0; k < 2; ++k) {
        TEvalValue result;
        function.eval[k].DoRunTimeFunction(0, values, result);
        outcome[k] = Outcome(function.eval[k], result);
      }
      if (outcome[0] != outcome[1]) Differ("f(a,b,c)~" + body, outcome[0], outcome[1]);
    }
    if (callsParsed) {
      for (int k = 0; k < 2; ++k) {
        for (int i = 0; i < 3; ++i)
          calls.cells[k][i] = point[i];
        TEvalValue** results = calls.eval[k].DoVectorOfMathExpressions();
        outcome[k] = Outcome(calls.eval[k], results != nullptr ? *results[2] : TEvalValue());
      }
      if (outcome[0] != outcome[1]) Differ(recursive, outcome[0], outcome[1]);
      const evaluator::TUserValuesArray values(point, point + 3);
      for (int k = 0; k < 2; ++k) {
        TEvalValue result;
        table.eval[k].DoRunTimeFunction(round % 2, values, result);
        outcome[k] = Outcome(table.eval[k], result, true);
      }
      if (outcome[0] != outcome[1])
        Differ(recursive + " by DoRunTimeFunction", outcome[0], outcome[1]);
    }
  }
  return 0;
}
