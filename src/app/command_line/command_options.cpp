// The option table and the one parser of the command line.
#include "app/command_line/command_options.h"

#include <algorithm>

#include "app/command_line/command_state.h"
#include "app/command_line/verb.h"
#include "constants/const_option.h"
#include "interpolation/sheet_option.h"

namespace app {

namespace {

const std::vector<std::string>& NoValues() {
  static const std::vector<std::string> none;
  return none;
}

const TOptionSpec* FindOption(std::string_view name) {
  for (const TOptionSpec& spec : OptionTable()) {
    if (spec.name == name) return &spec;
  }
  return nullptr;
}

const TVerb* FindVerb(std::string_view name) {
  for (const TVerb* verb : VerbTable()) {
    if (verb->option == name) return verb;
  }
  return nullptr;
}

bool Lists(const std::vector<std::string_view>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

const std::vector<TOptionSpec>& OptionTable() {
  static const std::vector<TOptionSpec> table = {
      // name, values, repeatable, every verb, apply
      {"--data-dir", 1, false, true, nullptr},
      // A calculator file is read first: it replaces the constants and the panes.
      {"--file", 1, false, false, ApplyFileOption},
      {"--defs", 1, false, false, nullptr},
      {"--currency", 0, false, false, nullptr},
      {"--var", 1, false, false, nullptr},
      {"--mathematica", 0, false, false, nullptr},
      {"--sheet", 1, true, false, interpolation::ApplySheetOption},
      {"--sle", 1, false, false, nullptr},
      {"--vars", 1, false, false, nullptr},
      {"--equations", 1, false, false, nullptr},
      {"--determinant", 0, false, false, nullptr},
      {"--inverse", 0, false, false, nullptr},
      {"--matrix", 0, false, false, nullptr},
      {"--right", 0, false, false, nullptr},
      {"--from", 1, false, false, nullptr},
      {"--to", 1, false, false, nullptr},
      {"--step", 1, false, false, nullptr},
      {"--null", 0, false, false, nullptr},
      {"--xlsx", 1, false, false, nullptr},
      {"--const", 1, true, false, constants::ApplyConstOption},
      {"--pte", 1, false, false, nullptr},
      {"--cnv", 1, false, false, nullptr},
      {"--category", 1, false, false, nullptr},
      // Last: it writes what the other options set up.
      {"--save", 1, false, false, ApplySaveOption},
  };
  return table;
}

bool TParsedOptions::Has(std::string_view name) const {
  return values_.find(name) != values_.end();
}

const std::string& TParsedOptions::Value(std::string_view name) const {
  static const std::string empty;
  const std::vector<std::string>& values = Values(name);
  return values.empty() ? empty : values.front();
}

const std::vector<std::string>& TParsedOptions::Values(std::string_view name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? NoValues() : found->second;
}

void TParsedOptions::Add(std::string_view name, std::vector<std::string> values) {
  std::vector<std::string>& all = values_[std::string(name)];
  all.insert(all.end(), std::make_move_iterator(values.begin()),
             std::make_move_iterator(values.end()));
}

bool ParseOptions(const std::vector<std::string>& arguments, TParsedOptions& parsed) {
  parsed = TParsedOptions();
  std::vector<const TOptionSpec*> given;
  for (std::size_t i = 0; i < arguments.size();) {
    const std::string& name = arguments[i++];
    // --file is an option first: it names the state that --eval, --stdin or --table run in,
    // and it is a verb of its own only when none of those is given.
    const TOptionSpec* spec = FindOption(name);
    const TVerb* verb = spec == nullptr ? FindVerb(name) : nullptr;
    if (verb == nullptr && spec == nullptr) return false;
    const std::size_t count =
        static_cast<std::size_t>(verb != nullptr ? verb->valueCount : spec->valueCount);
    if (arguments.size() - i < count) return false;
    if (verb != nullptr) {
      if (parsed.verb != nullptr) return false;
      parsed.verb = verb;
    } else {
      if (parsed.Has(name) && !spec->repeatable) return false;
      given.push_back(spec);
    }
    parsed.Add(
        name, std::vector<std::string>(arguments.begin() + static_cast<std::ptrdiff_t>(i),
                                       arguments.begin() + static_cast<std::ptrdiff_t>(i + count)));
    i += count;
  }
  if (parsed.verb == nullptr && parsed.Has("--file")) parsed.verb = &kFileVerb;
  if (parsed.verb == nullptr) return false;
  for (const TOptionSpec* spec : given) {
    if (!spec->everyVerb && !Lists(parsed.verb->accepted, spec->name)) return false;
  }
  for (std::string_view required : parsed.verb->required) {
    if (!parsed.Has(required)) return false;
  }
  return true;
}

}  // namespace app
