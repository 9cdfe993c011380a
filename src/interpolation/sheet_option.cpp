// The --sheet option of the command line.
#include "interpolation/sheet_option.h"

#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "app/command_line/command_options.h"
#include "app/command_line/stream_prompt.h"
#include "app/command_line/verb.h"
#include "interpolation/dat_file.h"
#include "interpolation/interpolation_sheets.h"

namespace interpolation {

namespace {

// Takes a ":natural" or ":periodic" suffix off `value`.
TSplineType SplineSuffix(std::string& value) {
  for (const auto& [suffix, type] :
       {std::pair<std::string_view, TSplineType>{":natural", stNatural},
        {":periodic", stPeriodic}}) {
    if (value.size() > suffix.size() && value.ends_with(suffix)) {
      value.resize(value.size() - suffix.size());
      return type;
    }
  }
  return stNatural;
}

}  // namespace

bool ApplySheetOption(app::TVerbContext& context) {
  auto sheets = std::make_shared<TInterpolationSheets>(context.core);
  const std::vector<std::string>& values = context.options.Values("--sheet");
  for (std::size_t k = 0; k < values.size(); ++k) {
    if (k > 0) sheets->AddSheet();
    std::string path = values[k];
    TInterpolationSheet& sheet = sheets->Sheet(k);
    sheet.SetSplineType(SplineSuffix(path));
    try {
      LoadSheetFile(sheet, path);
    } catch (const std::exception& e) {
      context.prompt.Message(e.what());
      return false;
    }
  }
  context.optionState.push_back(std::move(sheets));
  return true;
}

}  // namespace interpolation
