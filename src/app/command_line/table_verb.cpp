// --table: the function table as its "&Save As..." file holds it, one row a line, and with
// --xlsx the workbook its export writes.
#include <charconv>
#include <ostream>

#include "app/calculator_core.h"
#include "app/command_line/command_options.h"
#include "app/command_line/command_state.h"
#include "app/command_line/conversion_verbs.h"
#include "app/command_line/stream_prompt.h"
#include "app/command_line/verb.h"
#include "app/function_table.h"
#include "app/workbook_export.h"

namespace app {

namespace {

// Sets the range settings given; a value that is not a number is a usage error.
bool SetRange(TVerbContext& context) {
  const std::pair<const char*, TSettingIndex> settings[] = {
      {"--from", stFrom}, {"--to", stTo}, {"--step", stStep}};
  for (const auto& [option, index] : settings) {
    if (!context.options.Has(option)) continue;
    const std::string& text = context.options.Value(option);
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || last != end) {
      context.err << option << " needs a number, not \"" << text << "\"\n";
      return false;
    }
    // Values the setting refuses store its default, as in the window.
    context.core.SetSetting(index, value);
  }
  return true;
}

int RunTable(TVerbContext& context) {
  if (!SetRange(context)) return 2;
  if (!PrepareConversion(context)) return 1;
  const std::string variable =
      context.options.Has("--var") ? context.options.Value("--var") : context.core.FunctionVariable;
  context.core.DefinitionsPass(DefinitionsText(context), &variable);
  if (const auto refusal = TableRefusal(context.core)) {
    for (const std::string& line : context.core.Results())
      context.err << line << '\n';
    if (!refusal->empty()) context.out << *refusal << '\n';
    return 1;
  }
  TFunctionTable table;
  if (table.Build(context.core) == TFunctionTable::TBuildResult::Cut) {
    context.err << "The table stops at " << table.DataRowCount()
                << " rows: a longer one would not fit in memory\n";
  }
  if (!context.options.Has("--null")) table.FailuresAsNum();
  context.out << table.CommaLines("\n");
  if (context.options.Has("--xlsx")) {
    if (const auto failure = WriteWorkbook(table, context.options.Value("--xlsx"))) {
      context.err << *failure << '\n';
      return 1;
    }
  }
  return 0;
}

}  // namespace

const TVerb kTableVerb{
    "--table",
    0,
    {"--defs", "--var", "--from", "--to", "--step", "--null", "--xlsx", "--sheet", "--file",
     "--cnv"},
    {},
    "  calculator --table [--defs TEXT] [--var NAME] [--from A] [--to B] [--step S] [--null]\n"
    "             [--xlsx OUT.xlsx]                      print the function table as comma text;\n"
    "                                                    --xlsx also writes it as a workbook\n",
    RunTable,
};

}  // namespace app
