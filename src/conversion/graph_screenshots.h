// Pictures of the graph window in its four views and of its two dialogs, for the screenshot
// command.
#pragma once

#include <QString>

namespace conversion {

class TgrfForm3;

// Shows the category with the most definitions that the picture can hold, saves the window in
// each view and both dialogs as PNG files in `folder`, and leaves the window closed on the
// category it showed before. False when a picture could not be saved.
bool SaveGraphScreenshots(TgrfForm3& window, const QString& folder);

}  // namespace conversion
