// The language's operators and 95 reserved names: their order, command codes, accepted
// argument counts and help texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace evaluator {

// Command codes of the operators.
enum TOperatorCode : std::uint16_t {
  kCodeMultiply = 1,
  kCodeDivide = 2,
  kCodeAdd = 3,
  kCodeSubtract = 4,
  kCodePower = 5,
  kCodeAssign = 6,
  kCodeDefine = 7,
};

inline constexpr int kBuiltinCount = 95;
inline constexpr int kFirstBuiltinCode = 8;      // code of catalogue entry 0 ("pi")
inline constexpr int kLastBuiltinCode = 102;     // code of the last catalogue entry
inline constexpr int kFirstUserFunctionCode = 103;
// Application functions beyond this count would push codes past 16 bits.
inline constexpr int kMaxUserFunctions = 65535 - kLastBuiltinCode;
// Parameter count of an application function taking any number (at least one) of arguments.
inline constexpr std::int32_t kAnyParameterCount = 2147483647;

// Command codes of the reserved names, 8 + catalogue index.
enum TBuiltinCode : std::uint16_t {
  kCodePi = 8, kCodeExp, kCodeCos, kCodeSin, kCodeTan, kCodeCotan, kCodeSqrt, kCodeAbs, kCodeLn,
  kCodeCeil, kCodeSqr, kCodeInt, kCodeLnxp1, kCodeLog10, kCodeLog2, kCodeFrac, kCodeArccos,
  kCodeArccosh, kCodeCosh, kCodeArcsin, kCodeArcsinh, kCodeSinh, kCodeArctan, kCodeArctanh,
  kCodeTanh, kCodeArctan2, kCodeMax, kCodeMin, kCodeMean, kCodeSum, kCodeEq, kCodeUneq, kCodeLs,
  kCodeGr, kCodeLseq, kCodeGreq, kCodeAnd, kCodeOr, kCodeNot, kCodeIf, kCodeBk, kCodeWhile,
  kCodeInfinity, kCodeZero, kCodeDegtorad, kCodeRadtodeg, kCodeLogn, kCodeFloor, kCodePowerFn,
  kCodeNan, kCodeIsnan, kCodeSec, kCodeSech, kCodeCot, kCodeCoth, kCodeArccot, kCodeArccoth,
  kCodeArcsec, kCodeArcsech, kCodeCsc, kCodeCsch, kCodeArccsc, kCodeArccsch, kCodeSecant,
  kCodeCosecant, kCodeLog, kCodeSign, kCodeXor, kCodeFractionalpart, kCodeIntegerpart,
  kCodeCeiling, kCodeIndeterminate, kCodeTrue, kCodeFalse, kCodeDegree, kCodeDirectedinfinity,
  kCodeRandom, kCodeE, kCodeNull, kCodeMod, kCodeQuotient, kCodeDiv, kCodeComplex,
  kCodeIscomplex, kCodeIsreal, kCodeRe, kCodeIm, kCodeConjugate, kCodeArg, kCodeIsboolean,
  kCodeIsnull, kCodeComplexfrompolar, kCodeReal2curr, kCodeCurr2real, kCodeIscurrency,
};
static_assert(kCodeIscurrency == kLastBuiltinCode);

enum class TBuiltinKind : std::uint8_t { Constant, Function, ControlForm };

// One reserved name. Argument counts run from minArguments to maxArguments inclusive;
// kAnyParameterCount as the maximum means "or more".
struct TBuiltinEntry {
  std::string_view name;  // lower case, at most 16 characters
  std::int32_t minArguments;
  std::int32_t maxArguments;
  TBuiltinKind kind;
};

// The entry of catalogue index 0 .. 94.
const TBuiltinEntry& BuiltinEntry(int index);
// The catalogue index of a name compared without regard to case, or -1.
int FindBuiltin(std::string_view name);
// Whether the built-in accepts that many arguments.
bool BuiltinAcceptsArgumentCount(int index, std::int32_t count);
// The catalogue name (lower case) of a code 8 .. 102.
std::string_view BuiltinName(int code);
// The operator character of a code 1 .. 7.
char OperatorCharacter(int code);

// Help text of code 0 (assignment), operators 1 .. 7 and reserved names 8 .. 102; the
// evaluator adds the texts of application and runtime functions (GetHelpText).
std::string BuiltinHelpText(int code);

}  // namespace evaluator
