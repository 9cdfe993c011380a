// Pictures of the derivative, equivalence, function-variable, function-table and chart windows
// with sample input, for the screenshot command.
#pragma once

#include <QString>

class QWidget;

namespace app {

class TForm1;

// A picture's file name, made from a window's caption (and a variant, when one window has
// several pictures): "Convert Unit" gives "convert-unit.png", with the variant "error"
// "convert-unit-error.png". The guide refers to the pictures by these names.
QString PictureName(const QString& caption, const QString& variant = QString());

// Saves a picture of `window` as it is shown now into `folder`, named after its caption, or
// after `caption` for a window whose caption changes with what it shows; false when it could
// not be saved.
bool SavePicture(QWidget* window, const QString& folder, const QString& variant = QString(),
                 const QString& caption = QString());

// Fills and shows each window over `window` and saves it as a PNG file in `folder`; false when
// a picture could not be saved. Leaves the windows closed and the definitions
// pane as it was.
bool SaveToolScreenshots(TForm1& window, const QString& folder);

}  // namespace app
