// Pictures of the derivative, equivalence, function-variable, function-table and chart windows
// with sample input, for the screenshot command.
#pragma once

#include <QString>

namespace app {

class TForm1;

// Fills and shows each window over `window` and saves it as a PNG file in `folder`; false when
// a picture could not be saved. Leaves the windows closed and the definitions
// pane as it was.
bool SaveToolScreenshots(TForm1& window, const QString& folder);

}  // namespace app
