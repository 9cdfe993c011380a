// The layout the constants dialogs share: their fields above a right-aligned Ok and Cancel.
#pragma once

class QDialog;
class QFormLayout;
class QPushButton;

namespace constants {

// Lays out `fields` above a row of `ok` (the default button) and a new "&Cancel" button, which
// rejects the dialog; returns the Cancel button.
QPushButton* LayOutOkCancel(QDialog* dialog, QFormLayout* fields, QPushButton* ok);

}  // namespace constants
