// Derivation mode of the compiler: as each entry is finished it gets its derivative text, joined
// from its operands' texts and derivative texts by the text builders; and GetDerivative.
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "evaluator/compiler.h"
#include "evaluator/text_utils.h"
#include "symbolic/text_builders.h"

namespace evaluator {

namespace {

// Derivative texts of products and nested calls grow with the square of the input, and each
// builder re-reads its operands. Past these limits a derivative counts as one that cannot be
// formed, so that differentiation ends in bounded time and memory on any input. A character of
// work costs several nanoseconds of cleaning (far more in sanitizer builds), and the derivative
// window derives again at every keystroke: these bounds keep the worst input to a few tens of
// milliseconds (half a second in the instrumented fuzzing build), while a product of seventy
// factors still derives.
constexpr std::size_t kMaxDerivationText = std::size_t{1} << 15;
constexpr std::size_t kDerivationWorkBudget = std::size_t{1} << 21;

// A folded value without a derivative: not a number, or no number at all.
bool HasNoDerivative(const TEvalValue& value) {
  switch (value.kind) {
    case vkReal:
      return std::isnan(value.real);
    case vkComplex:
      return std::isnan(value.complex.re) || std::isnan(value.complex.im);
    case vkNull:
    case vkEmpty:
      return true;
    default:
      return false;
  }
}

// An empty derivative inside eq and if is written as "nan", so the form keeps its arguments.
std::string OrNan(const std::string& derivative) {
  return derivative.empty() ? "nan" : derivative;
}

// The builders with the evaluator's power form.
struct TBuild {
  bool caret;
  std::string Pow(std::string_view a, std::string_view b) const {
    return symbolic::MakePower(a, b, caret);
  }
  std::string Mul(std::string_view a, std::string_view b) const {
    return symbolic::MakeProduct(a, b, caret);
  }
  static std::string Div(std::string_view a, std::string_view b) {
    return symbolic::MakeQuotient(a, b);
  }
  static std::string Add(std::string_view a, std::string_view b) { return symbolic::MakeSum(a, b); }
  static std::string Sub(std::string_view a, std::string_view b) {
    return symbolic::MakeDifference(a, b);
  }
  static std::string Sqrt(std::string_view a) { return symbolic::MakeSqrt(a); }
  static std::string Ln(std::string_view a) { return symbolic::MakeLn(a); }
};

std::string Call(std::string_view name, const std::string& u) {
  std::string text(name);
  text += '(';
  text += u;
  text += ')';
  return text;
}

// The outer derivative f'(u) of a one-argument function; empty for functions without a rule.
std::string OuterDerivative(std::uint16_t code, const std::string& u, const TBuild& b) {
  switch (code) {
    case kCodeExp:
      return Call("exp", u);
    case kCodeCos:
      return Call("-sin", u);
    case kCodeSin:
      return Call("cos", u);
    case kCodeTan:
      return b.Pow(Call("sec", u), "2");
    case kCodeCotan:
    case kCodeCot:
      return b.Sub("0", b.Pow(Call("csc", u), "2"));
    case kCodeSqrt:
      return b.Div("1", b.Mul("2", b.Sqrt(u)));
    case kCodeLn:
    case kCodeLog:
      return b.Div("1", u);
    case kCodeSqr:
      return b.Mul("2", u);
    case kCodeLnxp1:
      return b.Div("1", b.Add(u, "1"));
    case kCodeLog10:
      return b.Div("1", b.Mul(u, b.Ln("10")));
    case kCodeLog2:
      return b.Div("1", b.Mul(u, b.Ln("2")));
    case kCodeArccos:
      return b.Div("-1", b.Sqrt(b.Sub("1", b.Pow(u, "2"))));
    case kCodeArccosh:
      return b.Div("1", b.Sqrt(b.Sub(b.Pow(u, "2"), "1")));
    case kCodeCosh:
      return Call("sinh", u);
    case kCodeArcsin:
      return b.Div("1", b.Sqrt(b.Sub("1", b.Pow(u, "2"))));
    case kCodeArcsinh:
      return b.Div("1", b.Sqrt(b.Add(b.Pow(u, "2"), "1")));
    case kCodeSinh:
      return Call("cosh", u);
    case kCodeArctan:
      return b.Div("1", b.Add("1", b.Pow(u, "2")));
    case kCodeArctanh:
    case kCodeArccoth:
      return b.Div("1", b.Sub("1", b.Pow(u, "2")));
    case kCodeTanh:
      return b.Pow(Call("sech", u), "2");
    case kCodeSec:
    case kCodeSecant:
      return "(" + Call("sec", u) + "*" + Call("tan", u) + ")";
    case kCodeSech:
      return "(" + Call("-sech", u) + "*" + Call("tanh", u) + ")";
    case kCodeCoth:
      return b.Sub("0", b.Pow(Call("csch", u), "2"));
    case kCodeArccot:
      return b.Div("-1", b.Add("1", b.Pow(u, "2")));
    case kCodeArcsec:
      return b.Div("1", b.Mul(b.Sqrt(b.Sub("1", b.Pow(u, "-2"))), b.Pow(u, "2")));
    case kCodeArcsech:
      return b.Div("-1",
                   b.Mul(u, b.Mul(b.Sqrt(b.Div(b.Sub("1", u), b.Add("1", u))), b.Add("1", u))));
    case kCodeCsc:
    case kCodeCosecant:
      return "(" + Call("-cot", u) + "*" + Call("csc", u) + ")";
    case kCodeCsch:
      return "(" + Call("-coth", u) + "*" + Call("csch", u) + ")";
    case kCodeArccsc:
      return b.Div("-1", b.Mul(b.Sqrt(b.Sub("1", b.Pow(u, "-2"))), b.Pow(u, "2")));
    case kCodeArccsch:
      return b.Div("-1", b.Mul(b.Sqrt(b.Add("1", b.Pow(u, "-2"))), b.Pow(u, "2")));
    default:
      return {};
  }
}

// Functions that are not differentiable, or not in a useful sense: their derivative is 0 where
// the argument cannot depend on the variable and cannot be formed otherwise.
constexpr std::string_view kNoFormula =
    " abs ceil ceiling int integerpart frac fractionalpart floor sign degtorad radtodeg not isnan"
    " iscomplex isreal re im conjugate arg isboolean isnull real2curr curr2real iscurrency uneq ls"
    " gr lseq greq mod quotient div max min mean sum and or xor ";

bool HasNoFormula(std::uint16_t code) {
  const std::string name = " " + std::string(BuiltinName(code)) + " ";
  return kNoFormula.find(name) != std::string_view::npos;
}

std::size_t SizeOf(std::initializer_list<const std::string*> texts) {
  std::size_t size = 0;
  for (const std::string* text : texts)
    size += text->size();
  return size;
}

}  // namespace

// ---- Entry texts ------------------------------------------------------------------------------

const std::string* TCompiler::DerivationText(std::int32_t root) {
  if (const auto known = derivationTexts_.find(root); known != derivationTexts_.end()) {
    return known->second.empty() ? nullptr : &known->second;
  }
  if (derivationWork_ > kDerivationWorkBudget) return nullptr;

  std::string text;
  TTextWalk walk(root);
  bool tooLong = false;
  for (std::int32_t item = walk.Next(text); item >= 0 && !tooLong; item = walk.Next(text)) {
    if (const auto known = derivationTexts_.find(item); known != derivationTexts_.end()) {
      tooLong = known->second.empty();
      text += known->second;
      continue;
    }
    const TRecord1& e = Entry(item);
    if (e.shape == TRecord1::shLeaf) {
      // A signed leaf (the -1 of a negation) is an operation of its own.
      const bool isSigned = !e.text.empty() && (e.text[0] == '-' || e.text[0] == '+');
      if (isSigned) text += '(';
      text += e.text;
      if (isSigned) text += ')';
    } else if (e.shape == TRecord1::shCall) {
      if (e.left < 0) {
        text += eval_.DetailOf(e).name;
      } else {
        // Operations and argument lists bring their own enclosing pair.
        const TRecord1::TShape inner = Entry(e.left).shape;
        const bool enclosed = inner == TRecord1::shOperator || inner == TRecord1::shNegation ||
                              inner == TRecord1::shList;
        if (!enclosed) walk.Piece(")");
        walk.Push(e.left);
        if (!enclosed) walk.Piece("(");
        walk.Piece(eval_.DetailOf(e).name);
      }
    } else {
      walk.PushParts(e, eval_.DetailOf(e).arguments);
    }
    if (text.size() > kMaxDerivationText) tooLong = true;
  }
  derivationWork_ += text.size();
  if (tooLong || derivationWork_ > kDerivationWorkBudget) text.clear();
  std::string& kept = derivationTexts_[root];
  kept = std::move(text);
  return kept.empty() ? nullptr : &kept;
}

std::string TCompiler::Bounded(std::string derivative, std::size_t charactersRead) {
  derivationWork_ += charactersRead + derivative.size();
  if (derivative.size() > kMaxDerivationText || derivationWork_ > kDerivationWorkBudget) {
    return {};
  }
  return derivative;
}

// ---- Rules ------------------------------------------------------------------------------------

void TCompiler::DeriveLeaf(std::int32_t entry) {
  const TRecord1& e = Entry(entry);
  if (e.code == 0 && e.dependent) {
    SetDerivative(entry, EqualsIgnoreCase(e.text, eval_.DerivativeVariable) ? "1" : "0");
  } else if (e.dependent) {
    // A volatile application function: a new value, not a function of x.
    SetDerivative(entry, "0");
  } else {
    SetDerivative(entry, HasNoDerivative(*e.cells[0]) ? "" : "0");
  }
}

void TCompiler::DeriveOperator(std::int32_t entry) {
  const TRecord1& e = Entry(entry);
  const std::int32_t left = e.left;
  const std::int32_t right = e.right;
  const std::uint16_t code = e.code;
  std::string derivative;
  if (code == kCodeDefine) {
    // A definition stands for itself, so that a derivative that uses the function's deferred
    // mark carries the definition along.
    const std::string* text = DerivationText(entry);
    if (text != nullptr) derivative = TTalvekComplexEval::CleanSigns(*text);
  } else if (code == kCodeAssign) {
    derivative = Derivative(right);
  } else if (!e.dependent) {
    derivative = HasNoDerivative(*e.cells[0]) ? "" : "0";
  } else {
    const std::string& du = Derivative(left);
    const std::string& dv = Derivative(right);
    const TBuild b{eval_.PowerAsCaret};
    if (du.empty() || dv.empty() || derivationWork_ > kDerivationWorkBudget) {
      derivative.clear();
    } else if (code == kCodeAdd) {
      derivative = Bounded(b.Add(du, dv), SizeOf({&du, &dv}));
    } else if (code == kCodeSubtract) {
      derivative = Bounded(b.Sub(du, dv), SizeOf({&du, &dv}));
    } else if (code == kCodeMultiply) {
      const std::string* u = DerivationText(left);
      const std::string* v = DerivationText(right);
      if (u != nullptr && v != nullptr) {
        derivative = Bounded(b.Add(b.Mul(du, *v), b.Mul(*u, dv)), 2 * SizeOf({u, v, &du, &dv}));
      }
    } else if (code == kCodeDivide) {
      derivative = DeriveQuotient(left, right);
    } else if (code == kCodePower) {
      derivative = DerivePower(left, right);
    }
  }
  SetDerivative(entry, std::move(derivative));
}

std::string TCompiler::DeriveQuotient(std::int32_t numerator, std::int32_t denominator) {
  const std::string& du = Derivative(numerator);
  const std::string& dv = Derivative(denominator);
  if (du.empty() || dv.empty()) return {};
  const std::string* u = DerivationText(numerator);
  const std::string* v = DerivationText(denominator);
  if (u == nullptr || v == nullptr) return {};
  const TBuild b{eval_.PowerAsCaret};
  return Bounded(b.Div(b.Sub(b.Mul(du, *v), b.Mul(*u, dv)), b.Pow(*v, "2")),
                 3 * SizeOf({u, v, &du, &dv}));
}

std::string TCompiler::DerivePower(std::int32_t base, std::int32_t exponent) {
  const std::string& du = Derivative(base);
  const std::string& dv = Derivative(exponent);
  const bool baseConstant = !Entry(base).dependent;
  const bool exponentConstant = !Entry(exponent).dependent;
  // A constant side's derivative is not used by its rule.
  if ((du.empty() && !baseConstant) || (dv.empty() && !exponentConstant)) return {};
  const std::string* u = DerivationText(base);
  const std::string* v = DerivationText(exponent);
  if (u == nullptr || v == nullptr) return {};
  const TBuild b{eval_.PowerAsCaret};
  const std::size_t read = 3 * SizeOf({u, v, &du, &dv});
  if (baseConstant) return Bounded(b.Mul(b.Pow(*u, *v), b.Mul(b.Ln(*u), dv)), read);
  if (exponentConstant) return Bounded(b.Mul(b.Mul(*v, b.Pow(*u, b.Sub(*v, "1"))), du), read);
  return Bounded(b.Mul(b.Pow(*u, *v), b.Add(b.Div(b.Mul(du, *v), *u), b.Mul(b.Ln(*u), dv))), read);
}

void TCompiler::DeriveCall(std::int32_t entry) {
  const TRecord1& e = Entry(entry);
  const std::uint16_t code = e.code;
  const std::int32_t argument = e.left;
  std::string derivative;

  const std::int32_t userCount = eval_.GetUserFunctionCount();
  if (code <= kLastBuiltinCode) {
    derivative = DeriveBuiltinCall(entry);
  } else if (code < kFirstUserFunctionCode + userCount) {
    const TUserFuncRec& function =
        eval_.UserFunctions[static_cast<std::size_t>(code - kFirstUserFunctionCode)];
    if (function.parameterCount < 0) {
      derivative = "0";
    } else if (!e.dependent) {
      bool noValue = HasNoDerivative(*e.cells[0]);
      const TRecord1& arguments = Entry(argument);
      for (std::int32_t k = 0; k < arguments.cellCount && !noValue; ++k) {
        noValue = HasNoDerivative(*arguments.cells[k]);
      }
      derivative = noValue ? "" : "0";
    } else {
      derivative = DeriveByOccurrence(argument);
    }
  } else {
    // A runtime function is differentiated where its definition is known to the reader: the
    // call keeps a deferred mark, name(arguments)'.
    const std::string* text = DerivationText(argument);
    if (text != nullptr) {
      const bool list = Entry(argument).shape == TRecord1::shList;
      std::string mark = eval_.DetailOf(e).name;
      mark += list ? *text : "(" + TTalvekComplexEval::StripOuterParentheses(*text) + ")";
      mark += '\'';
      derivative = Bounded(std::move(mark), text->size());
    }
  }
  SetDerivative(entry, std::move(derivative));
}

std::string TCompiler::DeriveBuiltinCall(std::int32_t entry) {
  const TRecord1& e = Entry(entry);
  const std::uint16_t code = e.code;
  const std::int32_t argument = e.left;
  // The arguments in written order; nested argument lists are flattened as their cells are.
  std::vector<std::int32_t> members;
  for (std::vector<std::int32_t> open{argument}; !open.empty();) {
    const std::int32_t member = open.back();
    open.pop_back();
    const TRecord1& m = Entry(member);
    if (m.shape == TRecord1::shList) {
      const PComand& parts = eval_.DetailOf(m).arguments;
      open.insert(open.end(), parts.rbegin(), parts.rend());
    } else {
      members.push_back(member);
    }
  }
  auto derivativeOf = [&](std::size_t k) -> const std::string& { return Derivative(members[k]); };

  if (!e.dependent) {
    if (!HasNoDerivative(*e.cells[0])) return "0";
    if (code != kCodeEq || members.size() != 2) return {};
    // eq of a NaN: the form shows which side had no value.
    std::string form = "eq(";
    form += HasNoDerivative(*Entry(members[0]).cells[0]) ? "nan," : "0,";
    form += HasNoDerivative(*Entry(members[1]).cells[0]) ? "nan)" : "0)";
    return form;
  }
  if (derivationWork_ > kDerivationWorkBudget) return {};

  const TBuild b{eval_.PowerAsCaret};
  if (members.size() == 1) {
    const std::string& du = derivativeOf(0);
    if (code == kCodeRandom) return "0";
    if (code == kCodeBk) return du;
    if (HasNoFormula(code)) return DeriveByOccurrence(argument);
    if (du.empty()) return {};
    const std::string* u = DerivationText(members[0]);
    if (u == nullptr) return {};
    const std::string outer = OuterDerivative(code, *u, b);
    if (outer.empty()) return {};
    return Bounded(b.Mul(outer, du), 2 * SizeOf({&outer, &du}) + u->size());
  }

  switch (code) {
    case kCodePowerFn:
      return DerivePower(members[0], members[1]);
    case kCodeArctan:
    case kCodeArctan2: {
      // arctan(a, b) is the angle of b/a, arctan2(a, b) that of a/b.
      const bool swapped = code == kCodeArctan;
      const std::int32_t top = swapped ? members[1] : members[0];
      const std::int32_t bottom = swapped ? members[0] : members[1];
      const std::string dq = DeriveQuotient(top, bottom);
      if (dq.empty()) return {};
      const std::string* p = DerivationText(top);
      const std::string* q = DerivationText(bottom);
      if (p == nullptr || q == nullptr) return {};
      const std::string quotient = b.Div(*p, *q);
      return Bounded(b.Mul(b.Div("1", b.Add("1", b.Pow(quotient, "2"))), dq),
                     3 * SizeOf({p, q, &dq}));
    }
    case kCodeLogn: {
      const std::string& da = derivativeOf(0);
      const std::string& db = derivativeOf(1);
      if (da.empty() || db.empty()) return {};
      const std::string* a = DerivationText(members[0]);
      const std::string* c = DerivationText(members[1]);
      if (a == nullptr || c == nullptr) return {};
      const std::string lnA = b.Ln(*a);
      return Bounded(
          b.Sub(b.Div(db, b.Mul(*c, lnA)), b.Div(b.Mul(b.Ln(*c), da), b.Mul(*a, b.Pow(lnA, "2")))),
          4 * SizeOf({a, c, &da, &db}));
    }
    case kCodeEq:
      return Bounded("eq(" + OrNan(derivativeOf(0)) + "," + OrNan(derivativeOf(1)) + ")", 0);
    case kCodeIf: {
      const std::string* condition = DerivationText(members[0]);
      if (condition == nullptr) return {};
      std::string form = "if(" + *condition + "," + OrNan(derivativeOf(1));
      if (members.size() > 2) form += "," + OrNan(derivativeOf(2));
      form += ')';
      return Bounded(std::move(form), 0);
    }
    case kCodeBk:
      return derivativeOf(members.size() - 1);
    case kCodeRandom:
      return "0";
    default:
      break;
  }
  if (HasNoFormula(code)) return DeriveByOccurrence(argument);
  return {};  // while, complex, complexfrompolar
}

std::string TCompiler::DeriveByOccurrence(std::int32_t argument) {
  // The variable is compared as a whole token of the lower-case argument text.
  const std::string* text = DerivationText(argument);
  if (text == nullptr) return {};
  derivationWork_ += text->size();
  return symbolic::ContainsToken(ToLowerAscii(eval_.DerivativeVariable), *text) ? "" : "0";
}

void TCompiler::DeriveList(std::int32_t entry) {
  const PComand& members = Arguments(entry);
  std::string derivative;
  for (std::size_t k = 0; k < members.size(); ++k) {
    if (k > 0) derivative += ',';
    derivative += OrNan(Derivative(members[k]));
    if (derivative.size() > kMaxDerivationText) break;
  }
  SetDerivative(entry, Bounded(std::move(derivative), 0));
}

// ---- Reading the result -----------------------------------------------------------------------

void TTalvekComplexEval::GetDerivative(bool asMathematica, std::string& text) {
  ErrorFlag = false;
  ErrorCode = ecNone;
  ErrorMessage.clear();
  text.clear();
  auto fail = [&](TErrorCode code, std::string_view message) {
    ErrorFlag = true;
    ErrorCode = code;
    ErrorMessage = std::string(message);
    if (OnParseError) OnParseError(*this);
  };
  if (ResultCount == 0) return fail(ecNothingParsed, msg::kGetDerivativeNothingParsed);
  if (!DerivationMode) return fail(ecNotDerivationParse, msg::kNotDerivationParse);
  if (DerivativeString.empty()) return fail(ecDerivativeErased, msg::kDerivativeErased);
  text = asMathematica ? ToMathematica(DerivativeString) : DerivativeString;
}

}  // namespace evaluator
