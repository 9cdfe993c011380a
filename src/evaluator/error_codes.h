// The evaluator's error codes and the fixed texts that go with them, in one table. A negative
// code names a failure of the evaluator itself; a positive one is the number of the function
// that failed (command code minus 7).
#pragma once

#include <cstdint>
#include <string_view>

namespace evaluator {

enum TErrorCode : std::int32_t {
  ecNone = 0,
  ecNothingParsed = -1,
  ecParentheses = -2,
  ecDerivativeVariable = -3,
  ecEmptyExpression = -4,
  ecEmptyIdentifier = -5,
  ecIdentifierTooLong = -6,
  ecNotIdentifier = -7,
  ecReservedName = -8,
  ecVariableExists = -9,
  ecDuplicateUserName = -10,
  ecUnknownExpression = -11,
  ecExponentConversion = -12,
  ecNotDerivationParse = -15,
  ecDerivativeErased = -16,
  ecValueCount = -17,
  ecVectorOfExpressions = -18,
  ecTooManyFunctions = -19,
  ecNilFunction = -20,
  ecProtectedExpression = -21,
  ecSyntax = -22,
  ecExecution = -23,
  ecRelease = -24,
  ecMultiply = -25,
  ecDivide = -26,
  ecAdd = -27,
  ecSubtract = -28,
  ecPower = -29,
  ecAssign = -30,
  ecUnknownFunction = -31,
  ecUnknownVariable = -32,
  ecCompileSyntax = -33,
  ecParseForwardSyntax = -34,
  ecStackOverflow = -35,
  ecInvalidFunctionName = -36,
  ecFunctionDefined = -37,
  ecNotImplemented = -38,
  ecArgumentCount = -39,
  ecArgumentName = -40,
  ecArgumentSyntax = -41,
  ecFunctionStackOverflow = -42,
};

// Fixed texts. Where the user sees more, the caller appends the detail (a name, a fragment,
// a limit) to the text as given here.
namespace msg {
inline constexpr std::string_view kDoMathNothingParsed =
    "DoMathExpression-> NO MATH EXPRESSION WAS PARSED";
inline constexpr std::string_view kDoVectorNothingParsed =
    "DoVectorOfMathExpressions-> NO MATH EXPRESSION WAS PARSED";
inline constexpr std::string_view kGetDerivativeNothingParsed =
    "GetDerivative-> NO MATH EXPRESSION WAS PARSED";
inline constexpr std::string_view kParentheses = "VerifySyntaxSemanticsRule-> PARANTHESES SYNTAX ERROR";
inline constexpr std::string_view kDerivativeVariable =
    "VerifySyntaxSemanticsRule-> INVALID DERIVATIVE VARIABLE NAME;";
inline constexpr std::string_view kEmptyExpression = "VerifySyntaxSemanticsRule-> MATH EXPRESSION IS EMPTY";
inline constexpr std::string_view kEmptyIdentifier = "IsValidIdentName-> IDENTIFIER NAME CANNOT BE EMPTY";
inline constexpr std::string_view kIdentifierTooLong =
    "IsValidIdentName-> IDENTIFIER LENGTH MUST BE LESS THAN 256: ";
inline constexpr std::string_view kNotIdentifier = "IsValidIdentName-> NOT VALID PASCAL IDENTIFIER : ";
inline constexpr std::string_view kReservedName =
    "IsValidIdentName-> IDENTIFIER CANNOT BE A RESERVED NAME: ";
inline constexpr std::string_view kVariableExists = "IsValidIdentName-> IDENTIFIER NAME ALREADY EXIST : ";
inline constexpr std::string_view kDuplicateUserName =
    "IsValidIdentName-> DUBLICATING USER IDENTIFIER NAME: ";
inline constexpr std::string_view kBlankBetweenOperands = "StergeSpatii-> UNKNOWN EXPRESSION: ";
inline constexpr std::string_view kExponentUnknown = "FormatareaExponentei-> UNKNOWN EXPRESSION: ";
inline constexpr std::string_view kExponentConversion = "FormatareaExponentei-> : ";
inline constexpr std::string_view kNotDerivationParse =
    "GetDerivative-> YOU MUST USE VerifySyntaxSemanticsAndDerivation METHOD";
inline constexpr std::string_view kDerivativeErased = "GetDerivative-> DERIVATIVE EXPRESSION WAS ERASED";
inline constexpr std::string_view kValueCount =
    "DoRunTimeFunction-> VARIABLE COUNT IS DIFFERENT FOR VALUE COUNT";
inline constexpr std::string_view kVectorOfExpressions =
    "DoMathExpression-> THERE IS A VECTOR OF MATH EXPRESSIONS";
inline constexpr std::string_view kTooManyFunctions = "Create-> FUNCTION NUMBER MUST BE LESS THAN : ";
inline constexpr std::string_view kNilFunction = "Create-> FUNCTION ADDRESS CANNOT BE NIL : ";
inline constexpr std::string_view kEvalExpres = "EvalExpres-> ";
inline constexpr std::string_view kProtectedExpression = "PROTECTED EXPRESSION ON ";
inline constexpr std::string_view kSpacesSyntax = "StergeSpatii-> SYNTAX ERROR: ";
inline constexpr std::string_view kProgrammingError = "PROGRAMING ERROR ON ";
inline constexpr std::string_view kMathExceptionExecution = "ExceptieMatematica-> ";
inline constexpr std::string_view kMathExceptionFolding = "ExceptieExprConst-> ";
inline constexpr std::string_view kUnknownFunction = "ExpresieSemanticCorecta->  UNKNOWN FUNCTION: ";
inline constexpr std::string_view kUnknownVariable = "ExpresieSemanticCorecta->  UNKNOWN VARIABLE: ";
inline constexpr std::string_view kCompileSyntax = "Compile-> SYNTAX ERROR :";
inline constexpr std::string_view kParseForwardSyntax = "ParseForward-> SYNTAX ERROR : ";
inline constexpr std::string_view kInvalidFunctionName = "INVALID FUNCTION NAME ON ";
inline constexpr std::string_view kFunctionDefined = "THIS FUNCTION WAS DEFINED ON ";
inline constexpr std::string_view kNotImplemented =
    "VerifySyntaxSemanticsRule-> FUNCTION WAS NOT IMPLIMENTED : ";
inline constexpr std::string_view kArgumentCount = "INVALID ARGUMENTS COUNT  FOR : ";
inline constexpr std::string_view kArgumentName = "INVALID ARGUMENT NAME FOR : ";
inline constexpr std::string_view kArgumentSyntax = "INVALID ARGUMENT SYNTAX FOR : ";
inline constexpr std::string_view kFunctionStackOverflow = "FUNCTION STACK IS OVERFLOW";
inline constexpr std::string_view kWrongArgumentCount = "Invalid number of function arguments for: ";
inline constexpr std::string_view kFoldingDomain = " FUNCTION ARGUMENTS ESCAPE DEFINITION DOMIAN : ";
inline constexpr std::string_view kExceptionErrorOn = "EvalExpres-> EXCEPTION ERROR ON ";
}  // namespace msg

// One row of the code table: the code and the text its report begins with.
struct TErrorCodeRow {
  TErrorCode code;
  std::string_view text;
};

// Every code the evaluator sets, with the text (or texts) it reports. Codes -13 and -14 are
// not used; positive codes are function numbers and have no row of their own.
inline constexpr TErrorCodeRow kErrorCodeTable[] = {
    {ecNothingParsed, msg::kDoMathNothingParsed},
    {ecNothingParsed, msg::kDoVectorNothingParsed},
    {ecNothingParsed, msg::kGetDerivativeNothingParsed},
    {ecParentheses, msg::kParentheses},
    {ecDerivativeVariable, msg::kDerivativeVariable},
    {ecEmptyExpression, msg::kEmptyExpression},
    {ecEmptyIdentifier, msg::kEmptyIdentifier},
    {ecIdentifierTooLong, msg::kIdentifierTooLong},
    {ecNotIdentifier, msg::kNotIdentifier},
    {ecReservedName, msg::kReservedName},
    {ecVariableExists, msg::kVariableExists},
    {ecDuplicateUserName, msg::kDuplicateUserName},
    {ecUnknownExpression, msg::kBlankBetweenOperands},
    {ecUnknownExpression, msg::kExponentUnknown},
    {ecExponentConversion, msg::kExponentConversion},
    {ecNotDerivationParse, msg::kNotDerivationParse},
    {ecDerivativeErased, msg::kDerivativeErased},
    {ecValueCount, msg::kValueCount},
    {ecVectorOfExpressions, msg::kVectorOfExpressions},
    {ecTooManyFunctions, msg::kTooManyFunctions},
    {ecNilFunction, msg::kNilFunction},
    {ecProtectedExpression, msg::kProtectedExpression},
    {ecSyntax, msg::kSpacesSyntax},
    {ecSyntax, msg::kParentheses},
    {ecSyntax, msg::kProgrammingError},
    {ecExecution, "ExecuteComand-> NON MATH EXCEPTION WAS RAISED : "},
    {ecExecution, "Execute-> NON MATH EXCEPTION WAS RAISED : "},
    {ecRelease, "Free-> "},
    {ecMultiply, msg::kMathExceptionExecution},
    {ecDivide, msg::kMathExceptionExecution},
    {ecAdd, msg::kMathExceptionExecution},
    {ecSubtract, msg::kMathExceptionExecution},
    {ecPower, msg::kMathExceptionExecution},
    {ecAssign, msg::kMathExceptionExecution},
    {ecUnknownFunction, msg::kUnknownFunction},
    {ecUnknownVariable, msg::kUnknownVariable},
    {ecCompileSyntax, msg::kCompileSyntax},
    {ecParseForwardSyntax, msg::kParseForwardSyntax},
    {ecStackOverflow, "ExecuteComand-> NON MATH EXCEPTION WAS RAISED : "},
    {ecInvalidFunctionName, msg::kInvalidFunctionName},
    {ecFunctionDefined, msg::kFunctionDefined},
    {ecNotImplemented, msg::kNotImplemented},
    {ecArgumentCount, msg::kArgumentCount},
    {ecArgumentName, msg::kArgumentName},
    {ecArgumentSyntax, msg::kArgumentSyntax},
    {ecFunctionStackOverflow, msg::kFunctionStackOverflow},
};

// The code an arithmetic exception in an operator reports: -25 for "*" through -30 for "=".
constexpr TErrorCode OperatorErrorCode(int operatorCode) {
  return static_cast<TErrorCode>(-24 - operatorCode);
}

}  // namespace evaluator
