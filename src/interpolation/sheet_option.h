// --sheet FILE[:natural|:periodic]: the command line's interpolation sheets.
#pragma once

namespace app {
struct TVerbContext;
}

namespace interpolation {

// Reads the files of every --sheet, in the order given, into sheets 1, 2, ... bound to the
// core's "Lagrange" and "CubicSpline", with the spline type the suffix names (natural when
// none). A file that cannot be read prints its message and gives false.
bool ApplySheetOption(app::TVerbContext& context);

}  // namespace interpolation
