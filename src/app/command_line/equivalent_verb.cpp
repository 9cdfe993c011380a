// --equivalent: the equivalence test's verdict on two expressions; its messages go to standard
// error.
#include <ostream>

#include "app/command_line/command_options.h"
#include "app/command_line/stream_prompt.h"
#include "app/command_line/verb.h"
#include "app/equivalence.h"

namespace app {

namespace {

int RunEquivalent(TVerbContext& context) {
  TEquivalenceTest test(context.prompt);
  const std::vector<std::string>& texts = context.options.Values("--equivalent");
  context.out << test.Verdict(texts[0], texts[1]) << '\n';
  return 0;
}

}  // namespace

const TVerb kEquivalentVerb{
    "--equivalent",
    2,
    {},
    {},
    "  calculator --equivalent TEXT1 TEXT2               print Yes, No or Indeterminate\n",
    RunEquivalent,
};

}  // namespace app
