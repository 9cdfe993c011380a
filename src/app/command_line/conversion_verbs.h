// What the verbs that reach the conversion table share: loading it (the --cnv file, or the
// built-in default table) and checking it.
#pragma once

namespace app {

struct TVerbContext;

// Loads the table of --cnv FILE, or the default table in memory when the option is absent
// (nothing is written). False after printing the message when the file cannot be read.
bool LoadConversionTable(TVerbContext& context);
// LoadConversionTable, then the check with its messages, so that "Conv" converts. False when
// the file cannot be read; a failed check leaves "Conv" refusing and gives true.
bool PrepareConversion(TVerbContext& context);

}  // namespace app
