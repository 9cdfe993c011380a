// The command line's options: one table of every option that is not a verb, and the parser
// that checks a whole argument list against it and against the verbs' own rules.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace app {

struct TVerb;
struct TVerbContext;

// An option that sets up state for a verb (--defs, --currency, --data-dir, ...).
struct TOptionSpec {
  std::string_view name;
  int valueCount;  // 0 or 1: how many arguments follow the option
  bool repeatable;
  bool everyVerb;  // taken by every verb without being listed in the verb's `accepted`
  // Runs before the verb, in the order of the option table, when the option was given; false
  // stops the run with exit code 1 after it has printed its message. Null for options that the
  // verbs read themselves.
  bool (*apply)(TVerbContext& context);
};

// The table, in the order in which the options' `apply` run.
const std::vector<TOptionSpec>& OptionTable();

class TParsedOptions {
 public:
  // The verb given, never null after a successful parse.
  const TVerb* verb = nullptr;

  bool Has(std::string_view name) const;
  // The first value of the option, or "" when it was not given.
  const std::string& Value(std::string_view name) const;
  // Every value of the option in the order given: the texts of a verb that takes two, or the
  // values of all occurrences of a repeatable option.
  const std::vector<std::string>& Values(std::string_view name) const;

  // Records an occurrence with its values.
  void Add(std::string_view name, std::vector<std::string> values);

 private:
  std::map<std::string, std::vector<std::string>, std::less<>> values_;
};

// Parses the arguments (without the program name). False when they are not one verb with its
// values plus options that verb takes, each given at most once unless repeatable, with every
// option the verb requires.
bool ParseOptions(const std::vector<std::string>& arguments, TParsedOptions& parsed);

}  // namespace app
