// --const.
#include "constants/const_option.h"

#include "app/command_line/command_options.h"
#include "app/command_line/command_state.h"
#include "app/command_line/stream_prompt.h"
#include "app/command_line/verb.h"
#include "constants/constant_list.h"

namespace constants {

namespace {

constexpr const char* kMissingEquals = "Bad constant : missing '=' : ";

}  // namespace

bool ApplyConstOption(app::TVerbContext& context) {
  // The run's own list, which --file may have filled and --save writes.
  TConstantList& list = context.state->constants;
  for (const std::string& text : context.options.Values("--const")) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
      context.prompt.Message(kMissingEquals + text);
      return false;
    }
    const std::string name = text.substr(0, equals);
    const std::string expression = text.substr(equals + 1);
    const std::int32_t found = list.Find(name);
    const bool internal = found >= 1 && found <= kInternalConstantCount;
    const std::int32_t row = internal ? found : list.NewRow();
    const std::string description = internal ? list.Row(found).Description : "";
    if (!list.AddConst(row, name, expression, description)) return false;
  }
  return true;
}

}  // namespace constants
