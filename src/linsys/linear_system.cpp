// TLinearSystem.
#include "linsys/linear_system.h"

#include <exception>
#include <limits>

#include "app/error_messages.h"
#include "app/memo_text.h"
#include "app/safe_save.h"
#include "app/text_file.h"
#include "linsys/sle_file.h"

namespace linsys {

using evaluator::TEvalValue;

TLinearSystem::TLinearSystem(app::TUserPrompt& prompt, std::function<double()> detTolerance)
    : prompt_(prompt),
      detTolerance_(std::move(detTolerance)),
      eval_(std::make_unique<evaluator::TTalvekComplexEval>()) {
  // A blank between two operands multiplies ("2 x"), and every listed variable is fixed, so
  // that no equation can assign to one.
  eval_->ImplicitMultiplication = true;
  eval_->FixDigitEndingNames = true;
  eval_->FixLetterEndingNames = true;
  eval_->OnParseError = [this](evaluator::TTalvekComplexEval& sender) {
    results_ = {app::ParseErrorMessage(sender)};
  };
  eval_->OnExecuteError = [this](evaluator::TTalvekComplexEval& sender) {
    results_ = {app::ExecuteErrorMessage(sender)};
  };
}

TLinearSystem::~TLinearSystem() = default;

double TLinearSystem::Tolerance() const {
  return EffectiveTolerance(detTolerance_ ? detTolerance_()
                                          : std::numeric_limits<double>::quiet_NaN());
}

void TLinearSystem::Fail(std::string_view message) {
  results_.emplace_back(message);
  errorFlag_ = true;
}

bool TLinearSystem::Evaluate(std::size_t point, TValueVector& values, bool& complex) {
  const auto count = static_cast<std::size_t>(eval_->VariableCount);
  for (std::size_t j = 0; j < count; ++j)
    *eval_->VarVect[j].value = TEvalValue::Real(j == point ? 1 : 0);
  TEvalValue** cells = eval_->DoVectorOfMathExpressions();
  if (cells == nullptr || eval_->ErrorFlag) {
    errorFlag_ = true;
    return false;
  }
  values.resize(static_cast<std::size_t>(eval_->ResultCount));
  for (std::size_t i = 0; i < values.size(); ++i) {
    values[i] = *cells[i];
    complex = complex || values[i].IsComplex();
  }
  return true;
}

bool TLinearSystem::Complectare() {
  errorFlag_ = false;
  results_.clear();
  names_.clear();
  a_ = TValueMatrix();
  b_.clear();
  x_.clear();
  d_ = TEvalValue::Real(1);

  const std::string variables = app::MemoAsOneLine(VariablesText);
  const std::string equations = app::MemoAsOneLine(EquationsText);
  eval_->VerifySyntaxSemantics(equations, variables, false);
  if (eval_->ErrorFlag) {
    errorFlag_ = true;  // the handler has written the message
    return false;
  }
  if (!eval_->LinearExpression) {
    Fail(kNotLinear);
    return false;
  }
  const auto n = static_cast<std::size_t>(eval_->VariableCount);
  if (n > kMaxVariables) {
    Fail(kTooManyVariables);
    return false;
  }
  bool complex = false;
  TValueVector values;
  if (!Evaluate(n, values, complex)) return false;
  if (values.size() != n) {
    Fail(kCountMismatch);
    return false;
  }

  try {
    TValueVector b(n);
    for (std::size_t i = 0; i < n; ++i)
      b[i] = evaluator::Multiply(TEvalValue::Real(-1), values[i]);
    TValueMatrix a(n);
    for (std::size_t j = 0; j < n; ++j) {
      if (Progress && !Progress(j + 1, n + 1)) {
        errorFlag_ = true;  // cancelled: nothing is built and nothing is said
        return false;
      }
      if (!Evaluate(j, values, complex)) return false;
      for (std::size_t i = 0; i < n; ++i)
        a(i, j) = evaluator::Add(values[i], b[i]);
    }
    // One kind for the whole system: complex as soon as one value was.
    const auto convert = [complex](TEvalValue& value) {
      if (complex && !value.IsComplex()) {
        value = TEvalValue::Complex(value.AsDouble(), 0);
      } else if (!complex) {
        value = TEvalValue::Real(value.AsDouble());
      }
    };
    for (std::size_t i = 0; i < n; ++i) {
      convert(b[i]);
      for (TEvalValue& entry : a.Row(i))
        convert(entry);
    }
    a_ = std::move(a);
    b_ = std::move(b);
  } catch (const std::exception& failure) {
    errorFlag_ = true;
    prompt_.Message(failure.what());
    return false;
  }
  for (std::int32_t j = 1; j <= eval_->VariableCount; ++j)
    names_.push_back(eval_->GetVariableName(j));
  return true;
}

bool TLinearSystem::SolveSystem() {
  if (const auto failure = linsys::SolveSystem(a_, b_, Tolerance(), x_, d_)) {
    errorFlag_ = true;
    prompt_.Message(*failure);
    return false;
  }
  return true;
}

bool TLinearSystem::Show(TSystemResult result) {
  results_.clear();
  if (!Complectare()) return false;
  const std::size_t n = names_.size();
  std::vector<std::string> lines;
  switch (result) {
    case TSystemResult::Solution:
      if (!SolveSystem()) return false;
      lines.emplace_back(kSolutionTitle);
      for (std::size_t i = 0; i < n; ++i)
        lines.push_back(names_[i] + " = " + evaluator::ValueToText(x_[i]));
      break;
    case TSystemResult::Determinant:
      if (!SolveSystem()) return false;
      lines.push_back(std::string(kDeterminantTitle) + evaluator::ValueToText(d_));
      break;
    case TSystemResult::Inverse: {
      // One elimination serves every unit right-hand side, each solved exactly as a fresh
      // elimination would solve it.
      const TEliminatedSystem system(a_, Tolerance());
      TValueMatrix inverse(n);
      for (std::size_t i = 0; i < n; ++i) {
        b_.assign(n, TEvalValue::Real(0));
        b_[i] = TEvalValue::Real(1);
        d_ = system.Determinant();
        if (const auto failure = system.Solve(b_, x_)) {
          errorFlag_ = true;
          prompt_.Message(*failure);
          return false;
        }
        for (std::size_t r = 0; r < n; ++r)
          inverse(r, i) = x_[r];
      }
      lines.emplace_back(kInverseTitle);
      for (std::size_t r = 0; r < n; ++r)
        lines.push_back(MatrixLine(inverse.Row(r)));
      break;
    }
    case TSystemResult::InitialMatrix:
      lines.emplace_back(kInitialMatrixTitle);
      for (std::size_t r = 0; r < n; ++r)
        lines.push_back(MatrixLine(a_.Row(r)));
      break;
    case TSystemResult::RightPart:
      lines.emplace_back(kRightPartTitle);
      for (const TEvalValue& value : b_)
        lines.push_back(evaluator::ValueToText(value));
      break;
  }
  results_ = std::move(lines);
  return true;
}

bool TLinearSystem::ScrieFisier(const std::string& path) {
  if (const auto block = SleBlockWithBrace(VariablesText, EquationsText)) {
    prompt_.Message("Cannot save " + path + ": the \"" + std::string(*block) +
                    "\" block holds \"{\" or \"}\", which a linear system file cannot keep");
    return false;
  }
  if (const auto failure = app::SafeSave(path, WriteSleText(VariablesText, EquationsText))) {
    prompt_.Message(*failure);
    return false;
  }
  return true;
}

bool TLinearSystem::CitesteFisier(const std::string& path) {
  std::string bytes;
  if (const auto failure = app::ReadFileBytes(path, bytes)) {
    FileValid = false;
    prompt_.Message(*failure);
    return false;
  }
  std::optional<TSleTexts> texts =
      app::IsText(bytes) ? ReadSleText(app::SingleByteText(std::move(bytes))) : std::nullopt;
  if (!texts) {
    FileValid = false;
    prompt_.Message(std::string(kBadFileFormat));
    return false;
  }
  VariablesText = std::move(texts->variables);
  EquationsText = std::move(texts->equations);
  FileName = path;
  FileValid = true;
  results_.clear();
  return true;
}

}  // namespace linsys
