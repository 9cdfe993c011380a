// What the linear system window does, without the window: it finds the coefficients of the
// equations by evaluating them at the origin and at the unit points, solves the system, and
// writes the lines of the results memo; it also saves and reads ".sle" files.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/user_prompt.h"
#include "evaluator/complex_eval.h"
#include "linsys/linear_solver.h"

namespace linsys {

inline constexpr std::string_view kInitialVariables = "x,y,z";
inline constexpr std::string_view kInitialEquations =
    "sin(e) x+ 2 y+ 3 z+1,\n4 x + 5 y+6 z-2,\n7 x+ 8 y+ 9 z+3";

inline constexpr std::string_view kNotLinear = "System of equations is not linear";
inline constexpr std::string_view kCountMismatch =
    "Number of variables do not corespond with number of equations";
// Beyond this many variables building and solving would keep the user waiting for minutes
// (the inverse alone takes the cube of the count) and the matrices would grow without bound.
inline constexpr std::size_t kMaxVariables = 500;
inline constexpr std::string_view kTooManyVariables =
    "Too many variables: a system may have at most 500";

inline constexpr std::string_view kSolutionTitle = "Solution:";
inline constexpr std::string_view kDeterminantTitle = "Determinant = ";
inline constexpr std::string_view kInverseTitle = "Inverse  matrix :";
inline constexpr std::string_view kInitialMatrixTitle = "Initial matrix:";
inline constexpr std::string_view kRightPartTitle = "Right part:";

// The five results the window shows, one per menu item.
enum class TSystemResult { Solution, Determinant, Inverse, InitialMatrix, RightPart };

class TLinearSystem {
 public:
  // `prompt` shows the message boxes and `detTolerance` reads the singularity tolerance
  // setting; both must outlive the object.
  TLinearSystem(app::TUserPrompt& prompt, std::function<double()> detTolerance);
  ~TLinearSystem();
  TLinearSystem(const TLinearSystem&) = delete;
  TLinearSystem& operator=(const TLinearSystem&) = delete;

  // The two memos' texts: the comma-separated variable names and the equations, each an
  // expression that equals zero, separated by commas.
  std::string VariablesText{kInitialVariables};
  std::string EquationsText{kInitialEquations};

  // Builds A and B from the two texts. False, with the message in the results or in a message
  // box, when the texts do not make a square linear system.
  bool Complectare();
  // Solves A·X = B into X and D; false (the message box shown) when it cannot.
  bool SolveSystem();

  // One of the window's five commands: clears the results, builds, solves as the result needs
  // and writes its lines. True when the result lines were written.
  bool Show(TSystemResult result);

  const std::vector<std::string>& Results() const { return results_; }
  void ClearResults() { results_.clear(); }

  // The state of the last build and solve.
  const std::vector<std::string>& VariableNames() const { return names_; }
  const TValueMatrix& A() const { return a_; }
  const TValueVector& B() const { return b_; }
  const TValueVector& X() const { return x_; }
  const TEvalValue& D() const { return d_; }
  bool ErrorFlag() const { return errorFlag_; }

  // ---- Files ------------------------------------------------------------------------------
  // ScrieFisier ("write file"): saves the two texts to `path`. False, with a message box, when
  // the texts hold a brace or the save fails; the old file then stays as it was.
  bool ScrieFisier(const std::string& path);
  // CitesteFisier ("read file"): reads `path` into the two texts; on success the file becomes
  // the current file and the results are cleared. On failure ("Bad file format" or the reason
  // it cannot be read, in a message box) the texts stay and the file is no longer valid.
  bool CitesteFisier(const std::string& path);
  // The current file, and whether "&Save" may write to it.
  std::string FileName;
  bool FileValid = false;

  // Building a large system evaluates every equation once per variable; this hears how far it
  // has gone (evaluations done and in all) and cancels the build by returning false.
  std::function<bool(std::size_t done, std::size_t total)> Progress;

 private:
  // Evaluates the parsed equations with the variables at `point` (the origin when it is n);
  // false on an evaluation error.
  bool Evaluate(std::size_t point, TValueVector& values, bool& complex);
  void Fail(std::string_view message);
  double Tolerance() const;

  app::TUserPrompt& prompt_;
  std::function<double()> detTolerance_;
  std::unique_ptr<evaluator::TTalvekComplexEval> eval_;
  std::vector<std::string> results_;
  std::vector<std::string> names_;
  TValueMatrix a_;
  TValueVector b_;
  TValueVector x_;
  TEvalValue d_ = TEvalValue::Real(1);
  bool errorFlag_ = false;
};

}  // namespace linsys
