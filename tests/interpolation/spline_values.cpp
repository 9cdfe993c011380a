// Prints "CubicSpline" values of a sheet read from standard input, so that a script can check
// them against another implementation. Input: "natural" or "periodic", the point count, the
// points as "x f(x)" texts, the query count, the queries. Output: one value per query.
#include <cstdio>
#include <iostream>
#include <string>

#include "app/calculator_core.h"
#include "evaluator/value.h"
#include "interpolation/interpolation_sheets.h"
#include "support/scripted_prompt.h"

int main() {
  using evaluator::TEvalValue;
  app::TScriptedPrompt prompt;
  prompt.onMessage = [&prompt] { std::cerr << prompt.messages.back() << '\n'; };
  app::TCalculatorCore core(prompt);
  interpolation::TInterpolationSheets sheets(core);
  interpolation::TInterpolationSheet& sheet = sheets.Sheet(0);

  std::string type;
  std::size_t points = 0;
  if (!(std::cin >> type >> points)) return 2;
  sheet.SetSplineType(type == "periodic" ? interpolation::stPeriodic : interpolation::stNatural);
  std::vector<interpolation::TSheetRow> rows(points);
  for (interpolation::TSheetRow& row : rows) {
    if (!(std::cin >> row.x >> row.fx)) return 2;
  }
  sheet.SetRows(rows);

  std::size_t queries = 0;
  if (!(std::cin >> queries)) return 2;
  const TEvalValue number = TEvalValue::Real(1);
  for (std::size_t q = 0; q < queries; ++q) {
    double x = 0;
    if (!(std::cin >> x)) return 2;
    const TEvalValue argument = TEvalValue::Real(x);
    const TEvalValue* arguments[] = {&argument, &number};
    TEvalValue result = TEvalValue::Null();
    try {
      sheets.CubicSpline(arguments, 2, result);
    } catch (const std::exception& e) {
      std::cerr << e.what() << '\n';
      return 1;
    }
    std::printf("%.17g\n", result.IsRealOrCurrency() ? result.AsDouble() : 0.0 / 0.0);
  }
  return 0;
}
