// --convert and --units: the conversion window's "&Calculate" and the lists of its boxes.
#include "app/command_line/conversion_verbs.h"

#include <optional>
#include <ostream>

#include "app/calculator_core.h"
#include "app/command_line/command_options.h"
#include "app/command_line/stream_prompt.h"
#include "app/command_line/verb.h"
#include "conversion/conversion_file.h"
#include "conversion/convert_unit_tool.h"
#include "conversion/unit_conversion.h"
#include "evaluator/value.h"

namespace app {

bool LoadConversionTable(TVerbContext& context) {
  conversion::TUnitConversion& conversion = *context.conversion;
  if (!context.options.Has("--cnv")) {
    conversion.LoadDefaults();
    return true;
  }
  const std::optional<std::string> message =
      conversion::ReadConvFile(context.options.Value("--cnv"), conversion.EditTable());
  if (message) context.prompt.Message(*message);
  return !message.has_value();
}

bool PrepareConversion(TVerbContext& context) {
  if (!LoadConversionTable(context)) return false;
  context.conversion->Check();
  // Messages of the check are not the answer of the verb that follows.
  context.prompt.last.clear();
  return true;
}

namespace {

int RunConvert(TVerbContext& context) {
  if (!PrepareConversion(context) || context.conversion->Locked()) return 1;
  const conversion::TCategoryList& table = context.conversion->Table();
  const std::string& categoryName = context.options.Value("--category");
  const std::int32_t category = table.Find(categoryName);
  if (category < 0) {
    context.prompt.Message("Unknown unit category : " + categoryName);
    return 1;
  }
  const conversion::TRecList& list = table.At(category).list;
  std::int32_t units[2] = {};
  const char* options[2] = {"--from", "--to"};
  for (int k = 0; k < 2; ++k) {
    const std::string& name = context.options.Value(options[k]);
    units[k] = list.FindUnit(name);
    if (units[k] < 0) {
      context.prompt.Message("Unknown unit : " + name);
      return 1;
    }
  }
  conversion::TConvertUnitTool tool(context.core, *context.conversion, context.prompt);
  const std::optional<evaluator::TEvalValue> value =
      tool.Calculate(context.options.Value("--convert"), category, units[0], units[1],
                     context.options.Value("--defs"));
  if (!value) return 1;
  context.out << evaluator::ValueToText(*value) << '\n';
  return 0;
}

int RunUnits(TVerbContext& context) {
  if (!LoadConversionTable(context)) return 1;
  const conversion::TCategoryList& table = context.conversion->Table();
  for (std::int32_t c = 0; c < table.Count(); ++c) {
    context.out << table.At(c).name;
    for (const conversion::TUnit& unit : table.At(c).list.Units())
      context.out << '\t' << unit.name;
    context.out << '\n';
  }
  return 0;
}

}  // namespace

const TVerb kConvertVerb{
    "--convert",
    1,
    {"--category", "--from", "--to", "--cnv", "--defs"},
    {"--category", "--from", "--to"},
    "  calculator --convert TEXT --category NAME --from UNIT --to UNIT [--cnv FILE] [--defs TEXT]\n"
    "                                                    print the value of TEXT converted\n",
    RunConvert,
};

const TVerb kUnitsVerb{
    "--units",
    0,
    {"--cnv"},
    {},
    "  calculator --units [--cnv FILE]                   one line per unit category: its name\n"
    "                                                    and its units, TAB-separated\n",
    RunUnits,
};

}  // namespace app
