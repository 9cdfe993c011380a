// The reserved-name table, its case-insensitive lookup (indexed by name length), argument
// counts and the fixed help texts of the assignment, the operators and the reserved names.
#include "evaluator/catalogue.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "evaluator/text_utils.h"

namespace evaluator {
namespace {

using K = TBuiltinKind;
constexpr std::int32_t kMany = kAnyParameterCount;

// Catalogue order is the code order: entry i has command code kFirstBuiltinCode + i.
constexpr std::array<TBuiltinEntry, kBuiltinCount> kBuiltins{{
    {"pi", 0, 0, K::Constant},
    {"exp", 1, 1, K::Function},
    {"cos", 1, 1, K::Function},
    {"sin", 1, 1, K::Function},
    {"tan", 1, 1, K::Function},
    {"cotan", 1, 1, K::Function},
    {"sqrt", 1, 1, K::Function},
    {"abs", 1, 1, K::Function},
    {"ln", 1, 1, K::Function},
    {"ceil", 1, 1, K::Function},
    {"sqr", 1, 1, K::Function},
    {"int", 1, 1, K::Function},
    {"lnxp1", 1, 1, K::Function},
    {"log10", 1, 1, K::Function},
    {"log2", 1, 1, K::Function},
    {"frac", 1, 1, K::Function},
    {"arccos", 1, 1, K::Function},
    {"arccosh", 1, 1, K::Function},
    {"cosh", 1, 1, K::Function},
    {"arcsin", 1, 1, K::Function},
    {"arcsinh", 1, 1, K::Function},
    {"sinh", 1, 1, K::Function},
    {"arctan", 1, 2, K::Function},
    {"arctanh", 1, 1, K::Function},
    {"tanh", 1, 1, K::Function},
    {"arctan2", 2, 2, K::Function},
    {"max", 1, kMany, K::Function},
    {"min", 1, kMany, K::Function},
    {"mean", 1, kMany, K::Function},
    {"sum", 1, kMany, K::Function},
    {"eq", 2, 2, K::Function},
    {"uneq", 2, 2, K::Function},
    {"ls", 2, 2, K::Function},
    {"gr", 2, 2, K::Function},
    {"lseq", 2, 2, K::Function},
    {"greq", 2, 2, K::Function},
    {"and", 2, kMany, K::Function},
    {"or", 2, kMany, K::Function},
    {"not", 1, 1, K::Function},
    {"if", 2, 3, K::ControlForm},
    {"bk", 1, kMany, K::ControlForm},
    {"while", 2, 2, K::ControlForm},
    {"infinity", 0, 0, K::Constant},
    {"zero", 0, 0, K::Constant},
    {"degtorad", 1, 1, K::Function},
    {"radtodeg", 1, 1, K::Function},
    {"logn", 2, 2, K::Function},
    {"floor", 1, 1, K::Function},
    {"power", 2, 2, K::Function},
    {"nan", 0, 0, K::Constant},
    {"isnan", 1, 1, K::Function},
    {"sec", 1, 1, K::Function},
    {"sech", 1, 1, K::Function},
    {"cot", 1, 1, K::Function},
    {"coth", 1, 1, K::Function},
    {"arccot", 1, 1, K::Function},
    {"arccoth", 1, 1, K::Function},
    {"arcsec", 1, 1, K::Function},
    {"arcsech", 1, 1, K::Function},
    {"csc", 1, 1, K::Function},
    {"csch", 1, 1, K::Function},
    {"arccsc", 1, 1, K::Function},
    {"arccsch", 1, 1, K::Function},
    {"secant", 1, 1, K::Function},
    {"cosecant", 1, 1, K::Function},
    {"log", 1, 1, K::Function},
    {"sign", 1, 1, K::Function},
    {"xor", 2, kMany, K::Function},
    {"fractionalpart", 1, 1, K::Function},
    {"integerpart", 1, 1, K::Function},
    {"ceiling", 1, 1, K::Function},
    {"indeterminate", 0, 0, K::Constant},
    {"true", 0, 0, K::Constant},
    {"false", 0, 0, K::Constant},
    {"degree", 0, 0, K::Constant},
    // Only the literal 1 or -1 is allowed as the argument; the compiler checks that.
    {"directedinfinity", 1, 1, K::Function},
    {"random", 1, 1, K::Function},
    {"e", 0, 0, K::Constant},
    {"null", 0, 0, K::Constant},
    {"mod", 2, 2, K::Function},
    {"quotient", 2, 2, K::Function},
    {"div", 2, 2, K::Function},
    {"complex", 2, 2, K::Function},
    {"iscomplex", 1, 1, K::Function},
    {"isreal", 1, 1, K::Function},
    {"re", 1, 1, K::Function},
    {"im", 1, 1, K::Function},
    {"conjugate", 1, 1, K::Function},
    {"arg", 1, 1, K::Function},
    {"isboolean", 1, 1, K::Function},
    {"isnull", 1, 1, K::Function},
    {"complexfrompolar", 2, 2, K::Function},
    {"real2curr", 1, 1, K::Function},
    {"curr2real", 1, 1, K::Function},
    {"iscurrency", 1, 1, K::Function},
}};

constexpr std::size_t kMaxNameLength = 16;

constexpr bool NamesFitLengthIndex() {
  for (const TBuiltinEntry& entry : kBuiltins) {
    if (entry.name.empty() || entry.name.size() > kMaxNameLength) return false;
  }
  return true;
}
static_assert(NamesFitLengthIndex());
static_assert(kBuiltins[kCodeIscurrency - kFirstBuiltinCode].name == "iscurrency");
static_assert(kBuiltins[kCodeCeiling - kFirstBuiltinCode].name == "ceiling");

// Catalogue indices grouped by name length, catalogue order kept within a group, so a lookup
// only compares names of the right length and still finds the first match.
struct TLengthIndex {
  std::array<std::uint8_t, kBuiltinCount> indices{};
  // Names of length n are indices[start[n]] .. indices[start[n + 1] - 1].
  std::array<std::uint8_t, kMaxNameLength + 2> start{};
};

constexpr TLengthIndex BuildLengthIndex() {
  TLengthIndex index;
  std::size_t next = 0;
  for (std::size_t length = 0; length <= kMaxNameLength; ++length) {
    index.start[length] = static_cast<std::uint8_t>(next);
    for (std::size_t i = 0; i < kBuiltins.size(); ++i) {
      if (kBuiltins[i].name.size() == length) index.indices[next++] = static_cast<std::uint8_t>(i);
    }
  }
  index.start[kMaxNameLength + 1] = static_cast<std::uint8_t>(next);
  return index;
}

constexpr TLengthIndex kByLength = BuildLengthIndex();

constexpr std::string_view kOperatorCharacters = "*/+-^=~";  // codes 1 .. 7

// Codes 0 (assignment) and 1 .. 7 (operators).
constexpr std::array<std::string_view, 8> kAssignmentAndOperatorHelp{{
    "IF 'ProtectVariables' property is false (default), IT IS MEAN THAT YOU CAN SET VALUES BY "
    "'=' OPERATOR: X=0 ",
    "OPERATOR '* ' IS EQUIVALENT WITH OBJECT PASCAL OPERATOR : X*Y",
    "OPERATOR '/'  IS EQUIVALENT WITH OBJECT PASCAL OPERATOR : X/Y",
    "OPERATOR '+'  IS EQUIVALENT WITH OBJECT PASCAL OPERATOR : X+Y",
    "OPERATOR '- ' IS EQUIVALENT WITH OBJECT PASCAL OPERATOR : X-Y",
    "OPERATOR '^'  IS EQUIVALENT WITH OBJECT PASCAL  Power FUNCTION : X^Y -> Power(X,Y)",
    "OPERATOR '= ' IS EQUIVALENT WITH OBJECT PASCAL ':=' OPERATOR : X=0.1E+3,Y=0.1E-3",
    "OPERATOR '~ ' DEFINES FUNCTION ON RUNTIME : f(x)~sin(x)^2",
}};

struct TSpecialHelp {
  int code;
  std::string_view text;
};

// Reserved names whose help differs from the generic "FUNCTION 'NAME' IS EQUIVALENT ..." form.
// The odd spacing and spelling are part of the shown texts.
constexpr auto kSpecialHelp = std::to_array<TSpecialHelp>({
    {kCodeMax,
     "FUNCTION 'MAX'  RETURNS THE GREATER OF A SET OF EXPRESSION VALUES: Max(x1,[x2,x3......])"},
    {kCodeMin,
     "FUNCTION 'MIN'  RETURNS THE LESSER OF A SET OF EXPRESSION VALUES : Min(x1,[x2,x3...])"},
    {kCodeMean,
     "FUNCTION 'MEAN' RETURNS THE MEAN OF A SET OF EXPRESSION VALUES: Mean(x1,[x2,x3...])"},
    {kCodeSum, "FUNCTION 'SUM'  RETURNS THE SUM OF A SET OF EXPRESSION VALUES: Sum(x1,[x2,x3...])"},
    {kCodeEq, "FUNCTION 'EQ'  IS EQUIVALENT WITH OBJECT PASCAL '=' OPERATOR : Eq(X,Y) -> X=Y"},
    {kCodeUneq,
     "FUNCTION 'UNEQ' IS EQUIVALENT WITH OBJECT PASCAL '<>' OPERATOR : Uneq(X,Y) -> X<>Y"},
    {kCodeLs, "FUNCTION 'LS'  IS EQUIVALENT WITH OBJECT PASCAL '<' OPERATOR : Ls(X,Y) -> X<Y"},
    {kCodeGr, "FUNCTION 'GR'  IS EQUIVALENT WITH OBJECT PASCAL '>' OPERATOR : Gr(X,Y) -> X>Y"},
    {kCodeLseq,
     "FUNCTION 'LSEQ' IS EQUIVALENT WITH OBJECT PASCAL '<=' OPERATOR : LsEq(X,Y) -> X<=Y"},
    {kCodeGreq,
     "FUNCTION 'GREQ' IS EQUIVALENT WITH OBJECT PASCAL '>=' OPERATOR : GrEq(X,Y) -> X>=Y"},
    {kCodeAnd,
     "FUNCTION 'AND' EVALUATES ITS ARGUMENTS IN ORDER, GIVING 0 IMMEDIATELY IF ANY OF THEM ARE "
     "LESSER 'ZERO' CONSTANT, AND 1 IF THEY ARE ALL GREATER : And(x1,x2,[x3...])"},
    {kCodeOr,
     "FUNCTION 'OR'  EVALUATES ITS ARGUMENTS IN ORDER, GIVING 1 IMMEDIATELY IF ANY OF THEM ARE "
     "GREATER 'ZERO' CONSTANT, AND 0 IF THEY ARE ALL LESSER : Or(x1,x2,[x3...])"},
    {kCodeNot,
     "FUNCTION 'NOT' RETURNS 1 IF EXPRESSION IS <= 'ZERO' CONSTANT, AND 0 IN OTHER CASE : Not(x)"},
    {kCodeIf,
     "FUNCTION 'IF' SYNTAX -> If( condition, block1, [block2] ) RETURNS VALUE OF bloc1 IF "
     "condition GREATER  'ZERO' CONSTANT, AND block2 IN OTHER CASE, IF block2 IS OMITED IT "
     "RETURNS 'NULL' CONSTANT : If(LsEq(x,Zero),x^2)"},
    {kCodeBk,
     "FUNCTION 'BK'  EVALUATES A SET OF MATH EXPRESSIONS,  GIVING THE LAST ONE VALUE AS THE "
     "RESULT :  Bk(x=5,y=3,x+y)"},
    {kCodeWhile,
     "LOOP 'WHILE' SYNTAX -> While( test, body ) EVALUATES test, THEN body, REPETITIVELY, UNTIL "
     "test FIRST FAILS TO GIVE VALUE GREATER 'ZERO' CONSTANT : "
     "Bk(n=10,s=0,i=0,While(Lseq(i,n-1),Bk(i=i+1,s=s+i)),s)"},
    {kCodeInfinity, "'INFINITY' CONSTANT"},
    {kCodeZero, "'ZERO'  CONSTANT"},
    {kCodeNan, "'NAN' CONSTANT MEAN THAT VALUE IS NOT A NUMBER "},
    {kCodeLog, "FUNCTION 'LOG' IS EQUIVALENT WITH OBJECT PASCAL 'LN'"},
    {kCodeXor,
     "FUNCTION 'XOR'  EVALUATES ITS ARGUMENTS IN ORDER, LIKE XOR OBJECT PASCAL OPERATOR : "
     "Xor(x1,x2,[x3...])"},
    {kCodeFractionalpart, "FUNCTION 'FRACTIONALPART' IS EQUIVALENT WITH OBJECT PASCAL 'FRAC'"},
    {kCodeIntegerpart, "FUNCTION 'INTEGERPART' IS EQUIVALENT WITH OBJECT PASCAL 'INT'"},
    {kCodeCeiling, "FUNCTION 'SEILING' IS EQUIVALENT WITH OBJECT PASCAL 'SEIL'"},
    {kCodeIndeterminate, "CONSTANT 'INDETERMINATE' IS EQUIVALENT WITH OBJECT PASCAL 'NAN'"},
    {kCodeTrue, "CONSTANT 'TRUE' IS EQUAL TO BOOLEAN TRUE"},
    {kCodeFalse, "CONSTANT 'FALSE' IS EQUAL TO BOOLEAN FALSE"},
    {kCodeDegree, "CONSTANT 'DEGREE' IS EQUAL TO PI/180"},
    {kCodeDirectedinfinity,
     "CONSTANT 'DIRECTEDINFINITY(1)', 'DIRECTEDINFINITY(-1)' IS EQUIVALENT WITH OBJECT PASCAL "
     "'INFINITY', '-INFINITY'"},
    {kCodeRandom,
     "FUNCTION 'RANDOM' SYNTAX -> Random(x) IF 0<=x<1 THEN IT IS EQUIVALENT WITH OBJECT PASCAL "
     "'RANDOM()' ELSE IF 1<=x<Infinity THEN IT IS EQUIVALENT WITH OBJECT PASCAL "
     "'RANDOM(TRUNC(x))'"},
    {kCodeE, "CONSTANT 'E' IS EQUIVALENT WITH EXP(1)"},
    {kCodeNull, "CONSTANT 'NULL' IS EQUIVALENT WITH OBJECT PASCAL 'NULL'"},
    {kCodeMod, "FUNCTION 'MOD'  SYNTAX -> Mod(x,y) : IS EQUAL TO x-y*Floor(x/y)"},
    {kCodeQuotient, "FUNCTION 'QUOTIENT' SYNTAX -> Quotient(x,y) : IS EQUAL TO Floor(x/y)"},
    {kCodeDiv, "FUNCTION 'DIV' SYNTAX -> Div(x,y) : IS EQUAL TO Floor(x/y)"},
    {kCodeComplex, "FUNCTION 'COMPLEX' IS EQUIVALENT WITH OBJECT PASCAL 'VARCOMPLEXCREATE ' "},
    {kCodeIscomplex, "FUNCTION 'ISCOMPLEX' TESTS COMPLEX TYPE"},
    {kCodeIsreal, "FUNCTION 'ISREAL' TESTS REAL TYPE"},
    {kCodeRe, "FUNCTION 'RE' GIVES REAL PART OF COMPLEX"},
    {kCodeIm, "FUNCTION 'IM' GIVES IMAGINARY PART OF COMPLEX"},
    {kCodeConjugate, "FUNCTION 'CONJUGATE' GIVES CONJUGATE OF COMPLEX"},
    {kCodeArg, "FUNCTION 'ARG' GIVES ANGLE OF COMPLEX"},
    {kCodeIsboolean, "FUNCTION 'ISBOOLEAN' TESTS BOOLEAN TYPE"},
    {kCodeIsnull, "FUNCTION 'ISNULL' TESTS NULL VALUE"},
    {kCodeComplexfrompolar,
     "FUNCTION 'COMPLEXFROMPOLAR' IS EQUIVALENT WITH OBJECT PASCAL 'VARCOMPLEXFROMPOLAR ' "},
    {kCodeReal2curr, "FUNCTION 'REAL2CURR' CONVERTS REAL TO CURRENCY TYPE"},
    {kCodeCurr2real, "FUNCTION 'CURR2REAL' CONVERTS CURRENCY TO REAL TYPE"},
    {kCodeIscurrency, "FUNCTION 'ISCURRENCY' TESTS CURRENCY TYPE"},
});

// One text per code at most, kept in code order so the table reads like the catalogue.
constexpr bool SpecialHelpInCodeOrder() {
  int previous = kFirstBuiltinCode - 1;
  for (const TSpecialHelp& help : kSpecialHelp) {
    if (help.code <= previous || help.code > kLastBuiltinCode) return false;
    previous = help.code;
  }
  return true;
}
static_assert(SpecialHelpInCodeOrder());

constexpr bool IsBuiltinCode(int code) {
  return code >= kFirstBuiltinCode && code <= kLastBuiltinCode;
}

}  // namespace

const TBuiltinEntry& BuiltinEntry(int index) {
  assert(index >= 0 && index < kBuiltinCount);
  return kBuiltins[static_cast<std::size_t>(index)];
}

int FindBuiltin(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return -1;
  const std::size_t first = kByLength.start[name.size()];
  const std::size_t last = kByLength.start[name.size() + 1];
  for (std::size_t k = first; k < last; ++k) {
    const int index = kByLength.indices[k];
    if (EqualsIgnoreCase(name, kBuiltins[static_cast<std::size_t>(index)].name)) return index;
  }
  return -1;
}

bool BuiltinAcceptsArgumentCount(int index, std::int32_t count) {
  if (index < 0 || index >= kBuiltinCount) return false;
  const TBuiltinEntry& entry = kBuiltins[static_cast<std::size_t>(index)];
  return count >= entry.minArguments && count <= entry.maxArguments;
}

std::string_view BuiltinName(int code) {
  if (!IsBuiltinCode(code)) return {};
  return kBuiltins[static_cast<std::size_t>(code - kFirstBuiltinCode)].name;
}

char OperatorCharacter(int code) {
  if (code < kCodeMultiply || code > kCodeDefine) return '\0';
  return kOperatorCharacters[static_cast<std::size_t>(code - kCodeMultiply)];
}

std::string BuiltinHelpText(int code) {
  if (code >= 0 && code <= kCodeDefine) {
    return std::string(kAssignmentAndOperatorHelp[static_cast<std::size_t>(code)]);
  }
  if (!IsBuiltinCode(code)) return {};

  const auto special = std::find_if(kSpecialHelp.begin(), kSpecialHelp.end(),
                                    [code](const TSpecialHelp& help) { return help.code == code; });
  if (special != kSpecialHelp.end()) return std::string(special->text);

  std::string text = "FUNCTION '";
  for (const char c : BuiltinName(code))
    text += AsciiUpper(c);
  text += "' IS EQUIVALENT WITH OBJECT PASCAL FUNCTION";
  return text;
}

}  // namespace evaluator
