// Construction, release, accessors, name checks and variable registration of the evaluator.
#include "evaluator/complex_eval.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <stdexcept>

#include "evaluator/text_utils.h"

namespace evaluator {

namespace {

// Texts of the release steps; each is followed by the failure's own message.
constexpr std::string_view kFreeWhile = "Free-> ERROR ON FREE WhileArray RECORD : ";
constexpr std::string_view kFreeIf = "Free-> ERROR ON FREE IfArray RECORD : ";
constexpr std::string_view kFreeFunc = "Free-> ERROR ON FREE FuncArray RECORD  : ";
constexpr std::string_view kFreeVariable = "Free-> ERROR ON FREE VarVect^[i].Value RECORD : ";
constexpr std::string_view kFreeVarVect = "Free-> ERROR ON FREE VarVect RECORD : ";
constexpr std::string_view kFreeCells = "Free-> ERROR ON FREE TempPVariantAr RECORD : ";
constexpr std::string_view kFreeVectors = "Free-> ERROR ON FREE TempPVectorAr RECORD : ";
constexpr std::string_view kFreeListStr = "Free-> ERROR ON FREE ListStr RECORD : ";
constexpr std::string_view kFreeListaProc = "Free-> ERROR ON FREE ListaProc RECORD : ";

constexpr std::string_view kIncorrectFunctionIndex = "INCORRECT FUNCTION INDEX";
constexpr std::string_view kHelpIndexRange = "INDEX MUST BE BETWEEN  0 AND ";

bool IsIdentifier(std::string_view name) {
  if (name.empty() || !(IsAsciiLetter(name[0]) || name[0] == '_')) return false;
  for (char c : name) {
    if (!(IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_')) return false;
  }
  return true;
}

}  // namespace

TTalvekComplexEval::TTalvekComplexEval() = default;

TTalvekComplexEval::TTalvekComplexEval(const TUserFuncArray& functions) {
  TakeUserFunctions(functions);
}

TTalvekComplexEval::~TTalvekComplexEval() {
  try {
    Destroy();
  } catch (...) {
    // A destructor cannot report; Destroy() is there for owners who want to know.
  }
}

void TTalvekComplexEval::Destroy() {
  ErrorFlag = false;
  ErrorMessage.clear();
  const bool released = ReleaseTables();
  ClearUserFunctions();
  if (!released) throw std::runtime_error("Destroy->" + ErrorMessage);
}

void TTalvekComplexEval::TakeUserFunctions(const TUserFuncArray& functions) {
  if (functions.size() > static_cast<std::size_t>(kMaxUserFunctions)) {
    ErrorFlag = true;
    ErrorCode = ecTooManyFunctions;
    ErrorMessage = std::string(msg::kTooManyFunctions) + std::to_string(kMaxUserFunctions);
    return;
  }
  UserFunctions.reserve(functions.size());
  for (const TUserFuncRec& entry : functions) {
    if (!entry.function) {
      ErrorCode = ecNilFunction;
      ErrorMessage = std::string(msg::kNilFunction) + entry.name;
    } else if (!IsValidIdentName(entry.name)) {
      // IsValidIdentName has set the code and text.
    } else {
      TUserFuncRec& taken = UserFunctions.emplace_back(entry);
      taken.name = TrimBlanks(entry.name);
      userFunctionIndex_.emplace(ToLowerAscii(taken.name),
                                 static_cast<std::int32_t>(UserFunctions.size() - 1));
      taken.parameterCells = nullptr;
      if (taken.parameterCount > 0 && taken.parameterCount < kAnyParameterCount) {
        const auto slots = static_cast<std::size_t>(taken.parameterCount);
        taken.parameterCells = userFunctionCellArrays_.Allocate(slots);
        for (std::size_t k = 0; k < slots; ++k) {
          taken.parameterCells[k] = userFunctionCells_.Allocate(1);
          *taken.parameterCells[k] = TEvalValue::Null();
        }
      }
      continue;
    }
    // One bad entry leaves the object with no application functions at all.
    ClearUserFunctions();
    ErrorFlag = true;
    return;
  }
}

void TTalvekComplexEval::ClearUserFunctions() {
  UserFunctions.clear();
  userFunctionIndex_.clear();
  userFunctionCells_.Clear();
  userFunctionCellArrays_.Clear();
}

std::int32_t TTalvekComplexEval::FindUserFunction(std::string_view name) const {
  if (userFunctionIndex_.empty()) return -1;
  const auto found = userFunctionIndex_.find(ToLowerAscii(name));
  return found == userFunctionIndex_.end() ? -1 : found->second;
}

void TTalvekComplexEval::Release() {
  ErrorFlag = false;
  ErrorMessage.clear();
  if (!ReleaseTables() && OnParseError) OnParseError(*this);
}

bool TTalvekComplexEval::ReleaseTables() {
  bool failed = false;
  // Each step runs on whatever the previous ones left, so one failure does not stop the rest.
  auto guarded = [&](std::string_view failureText, auto&& step) {
    try {
      step();
    } catch (const std::exception& e) {
      ErrorMessage += std::string(failureText) + e.what();
      failed = true;
    }
  };

  FunctionStack.clear();
  MainCommands.clear();
  CommandsWithoutMain.reset();
  for (WhileRecord& loop : WhileArray) {
    guarded(kFreeWhile, [&] {
      loop.test.clear();
      loop.body.clear();
    });
  }
  WhileArray.clear();
  for (IfRecord& form : IfArray) {
    guarded(kFreeIf, [&] {
      form.condition.clear();
      form.thenCommands.clear();
      form.elseCommands.clear();
    });
  }
  IfArray.clear();
  for (FuncRecord& function : FuncArray) {
    guarded(kFreeFunc, [&] {
      function.name.clear();
      function.text.clear();
      function.body.clear();
    });
  }
  FuncArray.clear();
  // Variable cells are either the caller's (external) or live in TempPVariantAr, which the
  // next step frees; no cell is ever freed twice and no external one at all.
  for (TRecord3& variable : VarVect) {
    guarded(kFreeVariable, [&] {
      variable.name.clear();
      variable.value = nullptr;
    });
  }
  VariableCount = 0;
  guarded(kFreeVarVect, [&] {
    VarVect.clear();
    variableIndex_.clear();
  });
  guarded(kFreeCells, [&] { TempPVariantAr.Clear(); });
  guarded(kFreeVectors, [&] { TempPVectorAr.Clear(); });
  guarded(kFreeListStr, [&] {
    ListStr.clear();
    ListStrDetails.clear();
  });
  CommandCount = 0;
  CommandCapacity = 0;
  guarded(kFreeListaProc, [&] { ListaProc.clear(); });
  CommandPlan.Clear();

  ErrorCode = failed ? ecRelease : ecNone;
  CellCount = 0;
  VectorCount = 0;
  VectorCellTotal = 0;
  ResultCells = nullptr;
  ResultCount = 0;
  FunctionStackTop = 0;
  DerivationMode = false;
  ResultDependent = false;
  ResultFixed = false;
  ResultProtected = false;
  LinearExpression = true;
  MathExpressionString.clear();
  DerivativeVariable.clear();
  DerivativeString.clear();
  if (failed) ErrorFlag = true;
  return !failed;
}

void TTalvekComplexEval::FinishParseError() {
  const std::string message = ErrorMessage;
  const std::int32_t code = ErrorCode;
  ErrorMessage.clear();
  ReleaseTables();
  ErrorFlag = true;
  ErrorMessage = message + ErrorMessage;
  ErrorCode = code != ecNone ? code : ecSyntax;
  if (OnParseError) OnParseError(*this);
  // Numbers are read and written without the process locale, so there is no decimal
  // separator to restore here.
}

// ---- Accessors ------------------------------------------------------------------------------

std::string TTalvekComplexEval::GetVariableName(std::int32_t n) const {
  if (n < 1 || n > VariableCount) return {};
  return VarVect[static_cast<std::size_t>(n - 1)].name;
}

const std::vector<TRecord3>* TTalvekComplexEval::GetVariables() const {
  return VectorCount == 0 ? nullptr : &VarVect;
}

std::int32_t TTalvekComplexEval::GetUserFunctionCount() const {
  return static_cast<std::int32_t>(UserFunctions.size());
}

std::string TTalvekComplexEval::GetUserFunctionName(std::int32_t i) const {
  if (i < 0 || i >= GetUserFunctionCount()) return std::string(kIncorrectFunctionIndex);
  return UserFunctions[static_cast<std::size_t>(i)].name;
}

std::int32_t TTalvekComplexEval::GetRunTimeFunctionCount() const {
  return static_cast<std::int32_t>(FuncArray.size());
}

std::string TTalvekComplexEval::GetRunTimeFunctionText(std::int32_t i) const {
  if (i < 0 || i >= GetRunTimeFunctionCount()) return {};
  return FuncArray[static_cast<std::size_t>(i)].text;
}

std::int32_t TTalvekComplexEval::GetMaxFunctionCode() const {
  return kLastBuiltinCode + GetUserFunctionCount() + GetRunTimeFunctionCount();
}

std::string TTalvekComplexEval::GetHelpText(std::int32_t code) const {
  const std::int32_t highest = GetMaxFunctionCode();
  if (code < 0 || code > highest) return std::string(kHelpIndexRange) + std::to_string(highest);
  if (code <= kLastBuiltinCode) return BuiltinHelpText(code);

  const std::int32_t userIndex = code - kFirstUserFunctionCode;
  if (userIndex < GetUserFunctionCount()) {
    const TUserFuncRec& function = UserFunctions[static_cast<std::size_t>(userIndex)];
    const std::string name = ToUpperAscii(function.name);
    if (function.parameterCount == 0) return "CONSTANT '" + name + "' IS DEFINED BY USER";
    if (function.parameterCount == kAnyParameterCount) {
      return "FUNCTION '" + name + "'" + " WITH A VARIABLE NUMBER OF PARAMETERS" +
             " IS DEFINED BY USER";
    }
    const std::int32_t shown = function.parameterCount < 0 ? 0 : function.parameterCount;
    return "FUNCTION '" + name + "'" + " WITH " + std::to_string(shown) +
           " PARAMETERS IS DEFINED BY USER";
  }
  const FuncRecord& function =
      FuncArray[static_cast<std::size_t>(userIndex - GetUserFunctionCount())];
  return "RUNTIME FUNCTION '" + ToUpperAscii(function.name) + "'" + " WITH " +
         std::to_string(function.parameterCount) + " PARAMETERS IS DEFINED BY USER";
}

void TTalvekComplexEval::SetOriginalMathExpressionString(bool flag) {
  OriginalMathExpressionString = flag;
  MathExpressionString.clear();
  DerivativeString.clear();
}

void TTalvekComplexEval::SetCurrencyMode(bool flag) {
  Release();
  CurrencyMode = flag;
}

// ---- Names and variables ------------------------------------------------------------------

bool TTalvekComplexEval::IsValidIdentName(const std::string& rawName) {
  const std::string name =
      StripOuterParentheses(ExpandReferences(ToLowerAscii(TrimBlanks(rawName))));
  auto refuse = [&](TErrorCode code, std::string text) {
    ErrorCode = code;
    ErrorMessage = std::move(text);
    return false;
  };
  if (name.empty()) return refuse(ecEmptyIdentifier, std::string(msg::kEmptyIdentifier));
  if (!IsIdentifier(name)) return refuse(ecNotIdentifier, std::string(msg::kNotIdentifier) + name);
  if (name.size() >= 256) {
    return refuse(ecIdentifierTooLong, std::string(msg::kIdentifierTooLong) + name);
  }
  if (FindBuiltin(name) >= 0) return refuse(ecReservedName, std::string(msg::kReservedName) + name);
  if (FindVariable(name) > 0)
    return refuse(ecVariableExists, std::string(msg::kVariableExists) + name);
  if (FindUserFunction(name) >= 0) {
    return refuse(ecDuplicateUserName, std::string(msg::kDuplicateUserName) + name);
  }
  for (const FuncRecord& function : FuncArray) {
    if (EqualsIgnoreCase(function.name, name)) {
      return refuse(ecDuplicateUserName, std::string(msg::kDuplicateUserName) + name);
    }
  }
  return true;
}

void TTalvekComplexEval::PuneNumeVar(std::int32_t index, const std::string& name) {
  const std::string trimmed = TrimBlanks(name);
  const bool endsInDigit = !trimmed.empty() && IsAsciiDigit(trimmed.back());
  const bool fixed = endsInDigit ? FixDigitEndingNames : FixLetterEndingNames;
  RegisterVariable("PuneNumeVar-> ", index, name, trimmed, fixed, nullptr);
}

void TTalvekComplexEval::PuneNumePointerVar(std::int32_t index, const std::string& name, bool fixed,
                                            TEvalValue* cell) {
  RegisterVariable("PuneNumePointerVar-> ", index, name, name, fixed, cell);
}

void TTalvekComplexEval::RegisterVariable(std::string_view caller, std::int32_t index,
                                          const std::string& name, std::string storedName,
                                          bool fixed, TEvalValue* cell) {
  ErrorMessage.clear();
  ErrorFlag = !IsValidIdentName(name);
  if (ErrorFlag) return;
  if (index < 1 || index > VariableCount + 1) {
    ErrorFlag = true;
    ErrorMessage =
        std::string(caller) + (VariableCount == 0 ? std::string("NO VARIABLES EXIST")
                                                  : "VARIABLE INDEX MUST BE BETWEEN 1 AND " +
                                                        std::to_string(VariableCount + 1));
    return;
  }
  // A caller's cell keeps its value: that is how the owner hands values in.
  const bool external = cell != nullptr;
  if (!external) {
    cell = NewCell();
    *cell = TEvalValue::Null();
  }
  if (index == VariableCount + 1) {
    VarVect.push_back(TRecord3{std::move(storedName), cell, external, fixed});
    ++VariableCount;
  } else {
    TRecord3& variable = VarVect[static_cast<std::size_t>(index - 1)];
    const auto old = variableIndex_.find(ToLowerAscii(variable.name));
    if (old != variableIndex_.end() && old->second == index) variableIndex_.erase(old);
    variable = TRecord3{std::move(storedName), cell, external, fixed};
  }
  variableIndex_.emplace(ToLowerAscii(VarVect[static_cast<std::size_t>(index - 1)].name), index);
}

std::int32_t TTalvekComplexEval::FindVariable(std::string_view name) const {
  if (variableIndex_.empty()) return 0;
  const auto found = variableIndex_.find(ToLowerAscii(name));
  return found == variableIndex_.end() ? 0 : found->second;
}

// ---- Name lookup ----------------------------------------------------------------------------

std::uint16_t TTalvekComplexEval::FindFunctionCode(std::string_view name) const {
  const int builtin = FindBuiltin(name);
  if (builtin >= 0) return static_cast<std::uint16_t>(kFirstBuiltinCode + builtin);
  const std::int32_t user = FindUserFunction(name);
  if (user >= 0) return static_cast<std::uint16_t>(kFirstUserFunctionCode + user);
  const std::int32_t userCount = GetUserFunctionCount();
  for (std::int32_t j = 0; j < GetRunTimeFunctionCount(); ++j) {
    if (EqualsIgnoreCase(FuncArray[static_cast<std::size_t>(j)].name, name)) {
      return static_cast<std::uint16_t>(kFirstUserFunctionCode + userCount + j);
    }
  }
  return 0;
}

std::string TTalvekComplexEval::FunctionName(std::int32_t code) const {
  if (code >= kCodeMultiply && code <= kCodeDefine) return std::string(1, OperatorCharacter(code));
  if (code >= kFirstBuiltinCode && code <= kLastBuiltinCode) return std::string(BuiltinName(code));
  const std::int32_t index = code - kFirstUserFunctionCode;
  if (index >= 0 && index < GetUserFunctionCount()) {
    return UserFunctions[static_cast<std::size_t>(index)].name;
  }
  const std::int32_t runtimeIndex = index - GetUserFunctionCount();
  if (index >= 0 && runtimeIndex < GetRunTimeFunctionCount()) {
    return FuncArray[static_cast<std::size_t>(runtimeIndex)].name;
  }
  return {};
}

// ---- Allocation -----------------------------------------------------------------------------

TEvalValue* TTalvekComplexEval::NewCell() {
  ++CellCount;
  return TempPVariantAr.Allocate(1);
}

TEvalValue** TTalvekComplexEval::NewCellArray(std::int32_t slots) {
  ++VectorCount;
  VectorCellTotal += slots;
  return TempPVectorAr.Allocate(static_cast<std::size_t>(slots < 1 ? 1 : slots));
}

// ---- Text helpers ---------------------------------------------------------------------------

std::string TTalvekComplexEval::ExpandReferences(std::string text) const {
  // Each expansion removes one token and may add tokens of earlier entries only, so the loop
  // ends; a malformed or unknown token (never written by the parser) stops it.
  for (std::size_t open = text.find('{'); open != std::string::npos; open = text.find('{')) {
    const std::size_t close = text.find('}', open);
    if (close == std::string::npos || close == open + 1 || close - open > 10) break;
    std::size_t entry = 0;
    bool valid = true;
    for (std::size_t k = open + 1; k < close; ++k) {
      if (!IsAsciiDigit(text[k])) valid = false;
      entry = entry * 10 + static_cast<std::size_t>(text[k] - '0');
    }
    if (!valid || entry >= ListStr.size()) break;
    text.replace(open, close - open + 1, "(" + ListStr[entry].text + ")");
  }
  return text;
}

std::string TTalvekComplexEval::StripOuterParentheses(std::string text) {
  const std::size_t n = text.size();
  std::size_t leading = 0;
  while (leading < n && text[leading] == '(')
    ++leading;
  std::size_t trailing = 0;
  while (trailing < n - leading && text[n - 1 - trailing] == ')')
    ++trailing;
  const std::size_t pairs = std::min(leading, trailing);
  if (pairs == 0) return text;
  // Removing k pairs is right while the text between them never closes more than it opens:
  // the depth after each of its characters, counted from the start of the whole text, stays at
  // k or more. Inside the leading run the depth after character k is k + 1, and inside the
  // trailing run it is the final depth plus the characters still to come; so only the least
  // depth between the runs and the final depth matter, and the text is read once, with no
  // allocation: derivative texts of many kilobytes pass through here at every builder step.
  long depth = 0;
  long least = std::numeric_limits<long>::max();  // least depth between the removable runs
  for (std::size_t j = 0; j < n; ++j) {
    depth += (text[j] == '(') - (text[j] == ')');
    if (j >= pairs && j + pairs < n) least = std::min(least, depth);
  }
  std::size_t removed = 0;
  while (removed < pairs && least >= static_cast<long>(removed + 1) &&
         (removed + 1 == pairs || depth >= 0))
    ++removed;
  return text.substr(removed, n - 2 * removed);
}

}  // namespace evaluator
