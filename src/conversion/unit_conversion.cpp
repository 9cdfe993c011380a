// Checking the conversion table, converting along its stored paths, and "Conv".
#include "conversion/unit_conversion.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <map>
#include <utility>

#include "app/error_messages.h"
#include "conversion/conversion_file.h"
#include "conversion/unit_graph.h"
#include "evaluator/eval_errors.h"
#include "evaluator/value.h"

namespace conversion {

namespace {

using evaluator::EEvalError;
using evaluator::TEvalValue;
using evaluator::TTalvekComplexEval;

std::string RowPrefix(const std::string& category, std::size_t row, const char* direction) {
  return "Error in category : " + category + " : Row# " + std::to_string(row) + direction;
}

// Whole within 1e-13: its truncation; otherwise `message` followed by the argument's text.
double WholeOrThrow(const TEvalValue& argument, const char* message) {
  const double value = argument.AsDouble();
  const double whole = std::trunc(value);
  if (!(std::fabs(value - whole) <= 1e-13)) {
    throw EEvalError(message + evaluator::ValueToText(argument));
  }
  return whole;
}

// The 0-based index a 1-based whole number names among `count` entries, or -1.
std::int32_t IndexOf(double whole, std::int32_t count) {
  if (!(whole >= 1 && whole <= count)) return -1;
  return static_cast<std::int32_t>(whole) - 1;
}

// Sets the value of the expression's variable x, if it has one.
void SetX(TTalvekComplexEval& eval, const TEvalValue& value) {
  const std::int32_t x = eval.FindVariable("x");
  if (x > 0 && eval.VarVect[static_cast<std::size_t>(x - 1)].value != nullptr) {
    *eval.VarVect[static_cast<std::size_t>(x - 1)].value = value;
  }
}

}  // namespace

TUnitConversion::TUnitConversion(app::TUserPrompt& prompt)
    : prompt_(prompt), self_(std::make_shared<TUnitConversion*>(this)) {}

TUnitConversion::~TUnitConversion() {
  *self_ = nullptr;
}

void TUnitConversion::Lock() {
  locked_ = true;
  if (OnLock) OnLock();
}

void TUnitConversion::SetUnitPosition(std::int32_t category, std::int32_t unit, std::int32_t x,
                                      std::int32_t y) {
  if (category < 0 || category >= table_.Count()) return;
  TRecList& list = table_.At(category).list;
  if (unit < 0 || unit >= list.UnitCount()) return;
  list.Unit(unit).point.x = x;
  list.Unit(unit).point.y = y;
}

bool TUnitConversion::ReadFromConvFile(std::string& convFilePath, const std::string& defaultPath) {
  Lock();
  std::error_code error;
  // A folder (the settings keep the program's folder until a file is chosen) names no file.
  if (convFilePath.empty() || !std::filesystem::is_regular_file(convFilePath, error)) {
    convFilePath = defaultPath;
    if (!std::filesystem::is_regular_file(convFilePath, error)) {
      convFilePath.clear();
      return false;
    }
  }
  if (const std::optional<std::string> message = ReadConvFile(convFilePath, table_)) {
    prompt_.Message(*message);
    // "Internal Error" has emptied the table; any other failure left it as it was.
    if (table_.Count() == 0) loaded_ = false;
    return false;
  }
  loaded_ = true;
  return true;
}

bool TUnitConversion::WriteToConvFile(const std::string& convFilePath) {
  if (const std::optional<std::string> message = WriteConvFile(convFilePath, table_)) {
    prompt_.Message(*message);
    return false;
  }
  loaded_ = true;
  return true;
}

bool TUnitConversion::WriteToDefConvFile(std::string& convFilePath,
                                         const std::string& defaultPath) {
  if (const std::optional<std::string> message = WriteDefaultConvFile(defaultPath)) {
    prompt_.Message(*message);
    return false;
  }
  convFilePath = defaultPath;
  return true;
}

void TUnitConversion::ReadAtStartUp(std::string& convFilePath, const std::string& defaultPath) {
  if (ReadFromConvFile(convFilePath, defaultPath) || !convFilePath.empty()) return;
  if (WriteToDefConvFile(convFilePath, defaultPath)) ReadFromConvFile(convFilePath, defaultPath);
}

void TUnitConversion::FreeStringList() {
  Lock();
  table_.FreeStringList();
  loaded_ = false;
}

void TUnitConversion::LoadDefaults() {
  Lock();
  LoadDefaultTable(table_);
  loaded_ = true;
}

void TUnitConversion::ShowParseError(TTalvekComplexEval& sender) {
  prompt_.Message(MessagePrefix + app::ParseErrorMessage(sender));
}

void TUnitConversion::ShowExecuteError(TTalvekComplexEval& sender) {
  prompt_.Message(MessagePrefix + app::ExecuteErrorMessage(sender));
}

bool TUnitConversion::Check() {
  Lock();
  ErrorFlag = false;
  PathsFailed = false;
  IsDuplicate();
  if (!ErrorFlag) ParseDefinitions();
  if (!ErrorFlag) {
    ConvPaths();
    PathsFailed = ErrorFlag;
  }
  if (ErrorFlag) return false;
  locked_ = false;
  return true;
}

void TUnitConversion::IsDuplicate() {
  for (std::int32_t c = 0; c < table_.Count(); ++c) {
    const TCategory& category = table_.At(c);
    const std::vector<TConversionDefinition>& definitions = category.list.Definitions;
    // The rows of each pair of units, either way round, in row order (the first two suffice).
    std::map<std::pair<std::int32_t, std::int32_t>, std::vector<std::size_t>> rows;
    for (std::size_t k = 0; k < definitions.size(); ++k) {
      const auto key = std::minmax(definitions[k].unitA, definitions[k].unitB);
      std::vector<std::size_t>& found = rows[{key.first, key.second}];
      if (found.size() < 2) found.push_back(k);
    }
    for (std::size_t k = 0; k < definitions.size(); ++k) {
      const TConversionDefinition& definition = definitions[k];
      if (definition.unitA == definition.unitB) {
        prompt_.Message(RowPrefix(category.name, k + 1, " : units cannot be identical"));
        ErrorFlag = true;
        return;
      }
      const auto key = std::minmax(definition.unitA, definition.unitB);
      const std::vector<std::size_t>& found = rows[{key.first, key.second}];
      if (found.size() > 1) {
        const std::size_t other = found[0] != k ? found[0] : found[1];
        prompt_.Message(RowPrefix(category.name, k + 1, " and Row#") + std::to_string(other + 1) +
                        " : rows cannot be identical");
        ErrorFlag = true;
        return;
      }
    }
  }
}

int TUnitConversion::ParseOne(TTalvekComplexEval& eval, const std::string& text,
                              bool showWarnings) {
  eval.OnParseError = [this](TTalvekComplexEval& sender) { ShowParseError(sender); };
  eval.OnExecuteError = [this](TTalvekComplexEval& sender) { ShowExecuteError(sender); };
  eval.VerifySyntaxSemantics(text, "x", false);
  if (eval.ErrorFlag) return 1;
  const char* warning = nullptr;
  if (!eval.LinearExpression) {
    warning = " Expression must be linear";
  } else if (!eval.ResultDependent) {
    warning = " Expression must contain variable x";
  }
  if (warning == nullptr) return 0;
  if (showWarnings) prompt_.Message(MessagePrefix + warning);
  return 2;
}

void TUnitConversion::ParseDefinitions() {
  for (std::int32_t c = 0; c < table_.Count(); ++c) {
    TCategory& category = table_.At(c);
    // One warning per category is shown; the category's remaining definitions are still
    // compiled, so that none is left without its expressions, and a parse error among them
    // still fails the check.
    bool warned = false;
    bool failed = false;
    for (std::size_t k = 0; k < category.list.Definitions.size() && !failed; ++k) {
      TConversionDefinition& definition = category.list.Definitions[k];
      MessagePrefix = RowPrefix(category.name, k + 1, " A => B : ");
      int outcome = ParseOne(*definition.evalAToB, definition.aToB, !warned);
      if (outcome == 0 || outcome == 2) {
        warned = warned || outcome == 2;
        MessagePrefix = RowPrefix(category.name, k + 1, " B => A : ");
        outcome = ParseOne(*definition.evalBToA, definition.bToA, !warned);
        warned = warned || outcome == 2;
      }
      if (outcome == 1) {
        ErrorFlag = true;
        failed = true;
      }
    }
  }
  MessagePrefix.clear();
}

void TUnitConversion::ConvPaths() {
  TUnitGraph graph;
  for (std::int32_t c = 0; c < table_.Count(); ++c) {
    TRecList& list = table_.At(c).list;
    try {
      list.ClearStoredPaths();
      if (list.UnitCount() > kMaxStoredUnits) continue;
      graph.DefineGraph(list);
      std::vector<std::vector<std::int32_t>> ends = graph.ShortestPathEndsFromEach();
      for (std::int32_t u = 0; u < list.UnitCount(); ++u) {
        list.Unit(u).point.pathEnds = std::move(ends[static_cast<std::size_t>(u)]);
      }
    } catch (const std::exception& e) {
      list.ClearStoredPaths();
      prompt_.Message(e.what());
      ErrorFlag = true;
    }
  }
}

std::vector<std::int32_t> TUnitConversion::StoredPath(std::int32_t category, std::int32_t from,
                                                      std::int32_t to) const {
  if (category < 0 || category >= table_.Count()) return {};
  return table_.At(category).list.StoredPath(from, to);
}

std::vector<std::int32_t> TUnitConversion::PathFor(std::int32_t category, std::int32_t from,
                                                   std::int32_t to) const {
  if (category < 0 || category >= table_.Count()) return {};
  const TRecList& list = table_.At(category).list;
  if (from < 0 || from >= list.UnitCount() || to < 0 || to >= list.UnitCount()) return {};
  if (list.UnitCount() <= kMaxStoredUnits) return list.StoredPath(from, to);
  // Too big to store: search now, the table being unchanged since the check.
  TUnitGraph graph;
  graph.DefineGraph(list);
  return list.PathFromEnds(graph.ShortestPathEnds(from + 1), from, to);
}

TTalvekComplexEval& TUnitConversion::StepEvaluator(const TRecList& list, std::int32_t arc,
                                                   std::int32_t& fromUnit, std::int32_t& toUnit) {
  const TConversionDefinition& definition =
      list.Definitions[static_cast<std::size_t>((arc - 1) / 2)];
  const bool forwards = arc % 2 == 1;
  fromUnit = forwards ? definition.unitA : definition.unitB;
  toUnit = forwards ? definition.unitB : definition.unitA;
  return forwards ? *definition.evalAToB : *definition.evalBToA;
}

std::optional<TEvalValue> TUnitConversion::Convert(std::int32_t category, std::int32_t from,
                                                   std::int32_t to, const TEvalValue& value) {
  if (locked_) {
    prompt_.Message(kCheckConversions);
    return std::nullopt;
  }
  const std::vector<std::int32_t> path = PathFor(category, from, to);
  if (path.empty()) {
    prompt_.Message(kNoConversion);
    return std::nullopt;
  }
  const TRecList& list = table_.At(category).list;
  TEvalValue current = value;
  for (const std::int32_t arc : path) {
    std::int32_t stepFrom = 0;
    std::int32_t stepTo = 0;
    TTalvekComplexEval& eval = StepEvaluator(list, arc, stepFrom, stepTo);
    MessagePrefix = list.Unit(stepTo).name + " ---> " + list.Unit(stepFrom).name + " ";
    eval.OnExecuteError = [this](TTalvekComplexEval& sender) { ShowExecuteError(sender); };
    SetX(eval, current);
    TEvalValue result;
    eval.DoMathExpression(result);
    if (eval.ErrorFlag) return std::nullopt;
    current = result;
  }
  return current;
}

TEvalValue TUnitConversion::ConvertOrThrow(std::int32_t category, std::int32_t from,
                                           std::int32_t to, const TEvalValue& value) {
  if (locked_) throw EEvalError(kCheckConversions);
  const std::vector<std::int32_t> path = PathFor(category, from, to);
  if (path.empty()) throw EEvalError(kNoConversion);
  const TRecList& list = table_.At(category).list;
  TEvalValue current = value;
  for (const std::int32_t arc : path) {
    std::int32_t stepFrom = 0;
    std::int32_t stepTo = 0;
    TTalvekComplexEval& eval = StepEvaluator(list, arc, stepFrom, stepTo);
    // The caller's evaluator reports the failure; this one stays quiet.
    evaluator::TEvalEvent saved = std::move(eval.OnExecuteError);
    eval.OnExecuteError = nullptr;
    SetX(eval, current);
    TEvalValue result;
    eval.DoMathExpression(result);
    eval.OnExecuteError = std::move(saved);
    if (eval.ErrorFlag) {
      throw EEvalError(list.Unit(stepTo).name + " ---> " + list.Unit(stepFrom).name + " : " +
                       eval.ErrorMessage);
    }
    current = result;
  }
  return current;
}

void TUnitConversion::Conv(const TEvalValue* const* arguments, std::int32_t count,
                           TEvalValue& result) {
  if (count != 4) throw EEvalError("Conv: expects 4 arguments");
  for (std::int32_t k = 0; k < 4; ++k) {
    if (!arguments[k]->IsRealOrCurrency()) throw EEvalError(evaluator::kIncorrectRealType);
  }
  const double category = WholeOrThrow(*arguments[0], "Id of unit category must be un integer : ");
  const double from = WholeOrThrow(*arguments[1], "Id of convert from unit must be un integer : ");
  const double to = WholeOrThrow(*arguments[2], "Id of convert to unit must be un integer : ");
  if (locked_) throw EEvalError(kCheckConversions);
  const std::int32_t c = IndexOf(category, table_.Count());
  if (c < 0) {
    throw EEvalError("Incorrect id of unit category  : " + evaluator::ValueToText(*arguments[0]));
  }
  const TRecList& list = table_.At(c).list;
  const std::int32_t f = IndexOf(from, list.UnitCount());
  if (f < 0) {
    throw EEvalError("Incorrect id of convert from unit : " +
                     evaluator::ValueToText(*arguments[1]));
  }
  const std::int32_t t = IndexOf(to, list.UnitCount());
  if (t < 0) {
    throw EEvalError("Incorrect id of convert to unit : " + evaluator::ValueToText(*arguments[2]));
  }
  const TEvalValue converted = ConvertOrThrow(c, f, t, TEvalValue::Real(arguments[3]->AsDouble()));
  if (!converted.IsRealOrCurrency()) throw EEvalError(evaluator::kIncorrectRealType);
  result = TEvalValue::Real(converted.AsDouble());
}

void TUnitConversion::Bind(app::TAppFunctions& functions) {
  functions.SetConversion(
      [self = self_](const TEvalValue* const* arguments, std::int32_t count, TEvalValue& result) {
        if (*self == nullptr) throw EEvalError("Conv: unit conversion is not available");
        (*self)->Conv(arguments, count, result);
      });
}

}  // namespace conversion
