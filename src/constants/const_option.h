// The command line's --const NAME=EXPRESSION: stores constants through the constant list
// before the verb runs.
#pragma once

namespace app {
struct TVerbContext;
}

namespace constants {

// Applies every --const in the order given. A NAME equal to an internal constant's name
// (ignoring case) edits that row; any other adds a row. False after the first refusal, whose
// message has gone to standard error.
bool ApplyConstOption(app::TVerbContext& context);

}  // namespace constants
