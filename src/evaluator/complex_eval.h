// TTalvekComplexEval, the expression evaluator: one object holds everything one parse makes
// (variables, runtime functions, the flat command table, If/While tables, cells) and the last
// error. Parse entry points fill it; execution entry points run it as often as the owner likes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "evaluator/catalogue.h"
#include "evaluator/cell_arena.h"
#include "evaluator/error_codes.h"
#include "evaluator/eval_errors.h"
#include "evaluator/execution_plan.h"
#include "evaluator/value.h"

namespace evaluator {

// A command list: 1-based command numbers, or (in an argument list) ListStr entry numbers.
using PComand = std::vector<std::int32_t>;

// One command of the flat table: reads its operand cells, writes its result cell.
struct TProcRec {
  TEvalValue** operands = nullptr;  // operand cells
  TEvalValue** result = nullptr;    // result[0] is the result cell
  std::int32_t count = 0;           // operand count
  std::uint16_t code = 0;           // operator, catalogue or function code
};

// One compiled subexpression of the parse under way. A long text makes them by the million,
// so what only some need is kept beside the table, in a TRecord1Detail.
struct TRecord1 {
  std::string text{};  // normalised text, the key for sharing
  TEvalValue** cells = nullptr;
  std::int32_t cellCount = 0;  // 1 for a value, the member count for an argument list
  bool dependent = false;      // must be computed at execution time
  bool isProtected = false;    // may not be the target of "="
  bool fixed = false;          // depends only on literals and fixed variables
  bool isVolatile = false;     // holds random or a volatile application function: never shared
  PComand commands{};          // commands that compute it, in order

  // How the compiler made the entry. Texts and command lists of composite entries are built
  // from this shape when needed, so that long texts compile in linear time and space.
  enum TShape : std::uint8_t {
    shLeaf,      // number, variable or name: `text` holds it
    shOperator,  // left `code` right; `code` is the operator code
    shNegation,  // unary minus: -1 * right
    shCall,      // `name`(left); `code` is the function's code
    shList,      // (arguments[0], arguments[1], ...)
  };
  TShape shape = shLeaf;
  bool ownsCommands = true;  // false for If, While and "~", whose operands run elsewhere
  std::uint16_t code = 0;
  std::int32_t left = -1;    // left operand, or the argument entry of a call
  std::int32_t right = -1;   // right operand
  std::int32_t command = 0;  // the command this entry emitted, 0 for none
  std::int32_t detail = -1;  // its TRecord1Detail in ListStrDetails, -1 for none
};

// The parts of an entry that calls, argument lists and derivation mode need.
struct TRecord1Detail {
  std::string name{};        // function name of a call, as written
  PComand arguments{};       // of an argument list, or a definition's call: the members' entries
  std::string derivative{};  // derivative text in derivation mode
};

// One variable.
struct TRecord3 {
  std::string name{};
  TEvalValue* value = nullptr;
  bool external = false;  // the cell belongs to the caller and is never freed here
  bool fixed = false;     // counts as fixed and may not be assigned
};

// A variable handed to a parse by a caller that owns its cell (cell may be null).
struct TUserVarRec {
  std::string name{};
  TEvalValue* value = nullptr;
  bool fixed = false;
};
using TUserVarArray = std::vector<TUserVarRec>;

// An application function. It reads `count` argument cells, sets `result` (Null on entry) and
// reports failure by throwing: EMathError for an arithmetic kind, any other std::exception
// with its message.
using TUserFunction =
    std::function<void(const TEvalValue* const* arguments, std::int32_t count, TEvalValue& result)>;

struct TUserFuncRec {
  std::string name{};
  TUserFunction function;
  // 0 a constant; kAnyParameterCount any count of at least one; negative: no arguments and a
  // new value at every execution (volatile).
  std::int32_t parameterCount = 0;
  TEvalValue** parameterCells = nullptr;  // filled by the constructor
};
using TUserFuncArray = std::vector<TUserFuncRec>;

// Argument values for DoRunTimeFunction.
using TUserValuesArray = std::vector<TEvalValue>;

struct WhileRecord {
  std::int32_t command = 0;  // number of the While command itself
  PComand test{};
  PComand body{};
};

struct IfRecord {
  std::int32_t command = 0;  // number of the If command itself
  PComand condition{};
  PComand thenCommands{};
  PComand elseCommands{};  // empty for the two-argument form
};

// A runtime function, declared by its first call and defined by "~".
struct FuncRecord {
  std::string name{};
  std::string text{};             // name(args)~body as shown to the user
  std::int32_t firstCommand = 0;  // the call command emitted where it was first met
  std::int32_t parameterCount = 0;
  TEvalValue** parameterCells = nullptr;  // null until defined
  TEvalValue** bodyResult = nullptr;      // null until defined
  PComand body{};
  std::uint32_t callDepth = 0;  // active calls
};

class TTalvekComplexEval;
using TEvalEvent = std::function<void(TTalvekComplexEval& sender)>;

// The evaluator. Its state is public, as the owning windows read the error fields and set the
// options directly, and tests and the debug dump inspect the tables.
class TTalvekComplexEval {
 public:
  TTalvekComplexEval();
  // Takes a table of application functions. A bad table does not throw: the object is made
  // with no application functions and the error fields say why.
  explicit TTalvekComplexEval(const TUserFuncArray& functions);
  ~TTalvekComplexEval();

  TTalvekComplexEval(const TTalvekComplexEval&) = delete;
  TTalvekComplexEval& operator=(const TTalvekComplexEval&) = delete;

  // Tears the object down ahead of its destructor: releases every table and the application
  // functions; throws "Destroy->" + the collected text if the release reported a failure.
  void Destroy();

  // Frees everything the last parse made (never a caller's cell) and resets the counters.
  void Release();

  // ---- Accessors --------------------------------------------------------------------------
  std::string GetVariableName(std::int32_t n) const;  // 1-based; empty when out of range
  // The variable table, or null while no cell-pointer array has been allocated.
  const std::vector<TRecord3>* GetVariables() const;
  std::int32_t GetUserFunctionCount() const;
  std::string GetUserFunctionName(std::int32_t i) const;  // 0-based
  std::int32_t GetRunTimeFunctionCount() const;
  std::string GetRunTimeFunctionText(std::int32_t i) const;  // 0-based; empty when out of range
  std::int32_t GetMaxFunctionCode() const;
  std::string GetHelpText(std::int32_t code) const;
  void SetOriginalMathExpressionString(bool flag);
  void SetCurrencyMode(bool flag);

  // ---- Names and variables ----------------------------------------------------------------
  // Whether a name may become a new variable or function; on false sets ErrorCode and
  // ErrorMessage (not ErrorFlag).
  bool IsValidIdentName(const std::string& name);
  // Registers (index = VariableCount + 1) or renames variable `index` with an owned Null cell.
  void PuneNumeVar(std::int32_t index, const std::string& name);
  // The same with the caller's cell (external, never freed) or a new one when cell is null.
  void PuneNumePointerVar(std::int32_t index, const std::string& name, bool fixed,
                          TEvalValue* cell);

  // The number (1-based) of the variable with that name, compared without regard to case; 0
  // when there is none.
  std::int32_t FindVariable(std::string_view name) const;

  // ---- Name lookup --------------------------------------------------------------------------
  // The command code of a function name: built-ins, then application functions, then runtime
  // functions, first match without regard to case; 0 when unknown.
  std::uint16_t FindFunctionCode(std::string_view name) const;
  // The name a command code stands for: operator character, catalogue, application or runtime
  // function name; empty for codes not in use.
  std::string FunctionName(std::int32_t code) const;

  // ---- Allocation services for a parse --------------------------------------------------------
  TEvalValue* NewCell();                          // an Empty cell, freed by the next release
  TEvalValue** NewCellArray(std::int32_t slots);  // null slots, freed by the next release

  // ---- Source normalisation ---------------------------------------------------------------
  // StergeSpatii ("delete blanks"): removes blanks, or turns a blank between two operands into
  // "*" under ImplicitMultiplication; counts operator characters into CommandCapacity. False,
  // with the error fields set, on a refused text.
  bool StergeSpatii(std::string& text);
  // FormatareaExponentei ("exponent formatting"): replaces literals such as 1.5e+3 by reference
  // tokens of constant entries, or with `forExport` rewrites the "e" as "*^".
  bool FormatareaExponentei(std::string& text, bool forExport);
  // Replaces every reference token "{n}" by "(" + text of ListStr entry n + ")".
  std::string ExpandReferences(std::string text) const;
  // Drops parentheses that carry no grouping; keeps argument groups.
  static std::string StripRedundantParentheses(std::string_view text);
  // Removes as many balanced pairs as enclose the whole text.
  static std::string StripOuterParentheses(std::string text);
  // Display clean-up: combines doubled signs such as -(-x) into +x.
  static std::string CleanSigns(std::string_view text);

  // The failure finish of every parse: keeps the error, releases, fires OnParseError.
  void FinishParseError();

  // ---- Parse entry points ---------------------------------------------------------------------
  // Each releases the previous parse, then normalises, verifies and compiles `text`. Success is
  // ErrorFlag clear and ResultCount >= 1; failures set the error fields and fire OnParseError.
  void VerifySyntaxSemantics(const std::string& text, const std::string& variableNames,
                             bool definitions);
  void VerifySyntaxSemanticsAutoVar(const std::string& text);
  void VerifySyntaxSemanticsPointerVar(const std::string& text, const TUserVarArray& variables,
                                       bool definitions);
  void VerifySyntaxSemanticsAndDerivation(const std::string& text, const std::string& variableNames,
                                          bool definitions, const std::string& derivativeVariable);

  // The stages shared by the four entry points, in their fixed order.
  void VerifySyntaxSemanticsRule(const std::string& text, const std::string& variableNames,
                                 bool definitions, bool derivation, const TUserVarArray* variables,
                                 const std::string& derivativeVariable);
  // Registers the comma-separated names as variables 1, 2, ...
  void RegisterVariableList(const std::string& variableNames);

  // ---- Derivative and Mathematica form ----------------------------------------------------
  // The derivative text of the last parse made by VerifySyntaxSemanticsAndDerivation, or its
  // Mathematica form; on failure the error fields say why (codes -1, -15, -16).
  void GetDerivative(bool asMathematica, std::string& text);
  // An expression text in the evaluator's normalised form written in Mathematica syntax; a
  // deferred derivative mark f(x)' differentiates by DerivativeVariable. Never fails.
  std::string ToMathematica(std::string_view text) const;
  // The Mathematica form of the last parsed text; false, and no text, when there is none (nothing
  // parsed, or the kept text erased by SetOriginalMathExpressionString).
  bool GetMathematicaExpression(std::string& text);

  // ---- Execution entry points -----------------------------------------------------------------
  // Runs a parse of one expression; result is Null on failure.
  void DoMathExpression(TEvalValue& result);
  // Runs a parse of one or more expressions; the ResultCount result cells, or null on failure.
  TEvalValue** DoVectorOfMathExpressions();
  // Calls runtime function `index` (0-based in FuncArray) with the given argument values.
  void DoRunTimeFunction(std::int32_t index, const TUserValuesArray& values, TEvalValue& result);

  // Runs MainCommands; when that list is empty, CommandsWithoutMain, or without those every
  // command once in creation order.
  void Execute();
  // Runs list[0] .. list[last] while ErrorFlag stays clear.
  void ExecuteComand(const PComand& list, std::int32_t last);
  // Runs list[0] .. list[count - 1] while ErrorFlag stays clear.
  void ExecuteCommands(const std::int32_t* list, std::size_t count);
  // Runs `call`, a copy of call command `command` with operands and result cell of its own, as
  // ExecuteComand runs that command; failures are reported for `command`.
  void ExecuteCall(std::int32_t command, TProcRec& call);
  // Reports an arithmetic exception of `kind` raised by command `command` (1-based).
  void ExceptieMatematica(std::int32_t command, TMathErrorKind kind);
  static std::string MathExceptionText(std::int32_t kind) {
    return EMathError::MathExceptionText(kind);
  }
  // An entry's detail, made on first use; making one may move the others, so no reference to
  // another entry's detail may be held across it.
  TRecord1Detail& DetailOf(TRecord1& entry) {
    if (entry.detail < 0) {
      entry.detail = static_cast<std::int32_t>(ListStrDetails.size());
      ListStrDetails.emplace_back();
    }
    return ListStrDetails[static_cast<std::size_t>(entry.detail)];
  }
  // An entry's detail, or an empty one.
  const TRecord1Detail& DetailOf(const TRecord1& entry) const {
    static const TRecord1Detail kNone;
    return entry.detail < 0 ? kNone : ListStrDetails[static_cast<std::size_t>(entry.detail)];
  }

  // ---- State ------------------------------------------------------------------------------
  TUserFuncArray UserFunctions;
  std::vector<WhileRecord> WhileArray;
  std::vector<IfRecord> IfArray;
  std::vector<FuncRecord> FuncArray;
  TArena<TEvalValue, 256> TempPVariantAr;   // every cell the parse allocated
  TArena<TEvalValue*, 1024> TempPVectorAr;  // every cell-pointer array the parse allocated
  std::vector<TRecord1> ListStr;            // compiled subexpressions of the parse under way
  std::vector<TRecord1Detail> ListStrDetails;
  std::vector<TEvalValue> FunctionStack;  // save area for recursive calls and forms
  std::vector<TRecord3> VarVect;          // variables; variable n is VarVect[n - 1]
  std::vector<TProcRec> ListaProc;        // commands; command n is ListaProc[n - 1]
  std::int32_t VariableCount = 0;
  std::int32_t VectorCount = 0;
  std::int32_t VectorCellTotal = 0;
  std::int32_t CommandCount = 0;
  std::int32_t CellCount = 0;
  std::int32_t ResultCount = 0;  // 0 nothing parsed, 1 an expression, more a vector
  std::int32_t CommandCapacity = 0;
  std::int32_t VariableMode = 0;  // 0 named list, 1 automatic, 2 external cells
  std::int32_t ErrorCode = ecNone;
  std::int32_t FunctionStackTop = 0;
  std::int32_t MathErrorKind = mekNone;
  TEvalValue** ResultCells = nullptr;
  std::string MathExpressionString{};
  std::string DerivativeString{};
  std::string DerivativeVariable{};
  std::string ErrorMessage{};
  bool ResultDependent = false;
  bool ResultFixed = false;
  bool ResultProtected = false;
  bool LinearExpression = true;
  bool PowerAsCaret = true;
  bool DerivationMode = false;
  bool ErrorFlag = false;
  bool ImplicitMultiplication = false;
  bool OriginalMathExpressionString = true;
  bool CurrencyMode = false;
  PComand MainCommands{};
  // For a parse that leaves MainCommands empty (its whole entry fixed, or nothing but
  // definitions): the commands its values still need at execution, such as a draw of
  // random(1), once each in creation order. Commands of function bodies, of definitions and of
  // the parts of if and while are never among them: they run only when their call or form
  // runs. Unset for a table laid out without a parse, which then runs every command once.
  std::optional<PComand> CommandsWithoutMain{};
  // The command table as the interpreter runs it (interpreter.cpp). A successful parse asks for
  // it, the first execution makes it and Release drops it; tables laid out by hand, without a
  // parse, run without it.
  TExecutionPlan CommandPlan{};
  std::int32_t MaxIteration = 100000;
  std::int32_t MaxFunctionStack = 200;
  bool FixDigitEndingNames = false;
  bool FixLetterEndingNames = false;
  TEvalEvent OnParseError;
  TEvalEvent OnExecuteError;

  // Command n (1-based).
  TProcRec& Command(std::int32_t n) { return ListaProc[static_cast<std::size_t>(n - 1)]; }

 private:
  // Frees the tables; returns false (with the texts appended to ErrorMessage) on failure.
  bool ReleaseTables();
  void TakeUserFunctions(const TUserFuncArray& functions);
  void ClearUserFunctions();
  // Index of an application function by its lower-case name, -1 when there is none.
  std::int32_t FindUserFunction(std::string_view name) const;
  // The common part of PuneNumeVar and PuneNumePointerVar; a null cell gets a new owned one.
  void RegisterVariable(std::string_view caller, std::int32_t index, const std::string& name,
                        std::string storedName, bool fixed, TEvalValue* cell);

  // Cells of the application functions' parameters live as long as the object, not a parse.
  TArena<TEvalValue, 64> userFunctionCells_;
  TArena<TEvalValue*, 64> userFunctionCellArrays_;
  // Lower-case variable names to their number (1-based); rebuilt with the variable table.
  std::unordered_map<std::string, std::int32_t> variableIndex_;
  // Lower-case application function names to their index: the table may hold tens of
  // thousands of entries, and every name the compiler meets is looked up here.
  std::unordered_map<std::string, std::int32_t> userFunctionIndex_;
};

}  // namespace evaluator
