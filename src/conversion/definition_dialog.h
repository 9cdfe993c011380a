// TForm18, "Add conversion definition" or "Edit conversion definition": two units of the
// category, each with a number edit that mirrors its box, and the expressions both ways.
// "&Add..." and "&Edit..." add a unit or rename the one chosen in "Unit A".
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace conversion {

class TForm18 : public QDialog {
  Q_OBJECT

 public:
  struct THandlers {
    std::function<bool()> ok;  // the dialog closes when it returns true
    std::function<void()> addUnit;
    std::function<void()> editUnit;
  };
  explicit TForm18(THandlers handlers, QWidget* parent = nullptr);

  // Shows the dialog with its caption, the category's units (`unitA`, `unitB` chosen, -1 for
  // none) and the expressions.
  void Open(const QString& caption, const QStringList& units, int unitA, int unitB,
            const QString& aToB, const QString& bToA);
  // Lists other units, choosing `unitA` and `unitB` (-1 for none).
  void SetUnits(const QStringList& units, int unitA, int unitB);

  // The chosen units' positions, -1 for none.
  int UnitA() const;
  int UnitB() const;

  QComboBox* UnitABox() const { return comboBox1_; }
  QComboBox* UnitBBox() const { return comboBox2_; }
  QLineEdit* UnitANumber() const { return edit3_; }
  QLineEdit* UnitBNumber() const { return edit4_; }
  QLineEdit* AToBEdit() const { return edit1_; }
  QLineEdit* BToAEdit() const { return edit2_; }
  QPushButton* OkButton() const { return okButton_; }
  QPushButton* AddButton() const { return addButton_; }
  QPushButton* EditButton() const { return editButton_; }

 private:
  // Keeps a box and its number edit showing the same unit, whichever of them changed.
  void Mirror(QComboBox* box, QLineEdit* number);

  THandlers handlers_;
  QComboBox* comboBox1_;
  QComboBox* comboBox2_;
  QLineEdit* edit3_;
  QLineEdit* edit4_;
  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
  QPushButton* addButton_;
  QPushButton* editButton_;
};

}  // namespace conversion
