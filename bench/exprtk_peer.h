// The ExprTk column of evaluator_bench, in a translation unit of its own: the header takes
// more than a minute to compile, and the rest of the benchmark should not wait for it again.
#pragma once

namespace bench {

// Registers "eval/exprtk/<case>", "parse/exprtk/<case>" and the table over the same cases and
// points as the other columns. False, with the reason on standard error, when ExprTk rejects a
// text or computes other values than C++ does.
bool RegisterExprtk();

}  // namespace bench
