// Pictures of the conversion windows and their dialogs with sample content, for the screenshot
// command.
#pragma once

#include <QString>

namespace app {
class TForm1;
}

namespace conversion {

// Checks the table, converts 100 degrees to pi radians and saves the conversion window, the
// definition table and its three dialogs as PNG files in `folder`; false when a picture could
// not be saved. Leaves the windows closed.
bool SaveConversionScreenshots(app::TForm1& window, const QString& folder);

}  // namespace conversion
