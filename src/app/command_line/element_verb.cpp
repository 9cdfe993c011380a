// --element: what the element window shows after a pick, from the built-in data or a ".pte"
// file named by --pte.
#include <ostream>

#include "app/command_line/command_options.h"
#include "app/command_line/verb.h"
#include "periodic/element_view.h"

namespace app {

namespace {

int RunElement(TVerbContext& context) {
  periodic::TPeriodicTable table;
  if (context.options.Has("--pte")) {
    if (const auto error = table.LoadFile(context.options.Value("--pte"))) {
      context.out << *error << '\n';
      return 1;
    }
  } else {
    table.LoadBuiltInProperties();
  }
  const std::string& element = context.options.Value("--element");
  const std::optional<periodic::TCellPosition> position = table.Find(element);
  if (!position) {
    context.out << "Unknown element : " << element << '\n';
    return 1;
  }
  for (const std::string& line : periodic::CardLines(periodic::RefreshData(table, *position)))
    context.out << line << '\n';
  return 0;
}

}  // namespace

const TVerb kElementVerb{
    "--element",
    1,
    {"--pte"},
    {},
    "  calculator --element SYMBOL|NUMBER [--pte FILE]   print the element window's card\n",
    RunElement,
};

}  // namespace app
