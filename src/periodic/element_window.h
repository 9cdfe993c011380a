// TpteForm2, the "Element" window: the picked element's card, its oxidation states and its
// property grid, from which a property goes to the constants list or to the conversion window.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/tool_window.h"

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace periodic {

class TpteForm1;

class TpteForm2 : public app::TToolWindow {
  Q_OBJECT

 public:
  // The element shown is the table window's selected cell.
  explicit TpteForm2(TpteForm1& tableWindow, QWidget* parent = nullptr);
  ~TpteForm2() override;

  // Fills the card and the property grid from the selected cell when it holds an element.
  void RefreshData();
  void Button1Click();
  // Double click or Enter on a property row.
  void StringGrid1DblClick();
  void Main1Click();
  void PeriodicTable1Click();
  void Constants1Click();

  // Label1 .. Label9 of the card (Label1, Label4 and Label5 sit on the card panel).
  QLabel* Label(int number) const;
  QLabel* Panel3() const { return panel3_; }
  QFrame* CardPanel() const { return card_; }
  QListWidget* ListBox1() const { return listBox1_; }
  QTableWidget* StringGrid1() const { return stringGrid1_; }
  QPushButton* Button1() const { return button1_; }
  QAction* Action(const QString& objectName) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildCard(QWidget* client);
  void BuildMenus();
  void FormResize();
  void SetPropertyRows(const std::vector<std::array<std::string, 3>>& rows);
  // The grid's current row when it is a data row, else -1.
  int CurrentPropertyRow() const;
  QString Cell(int row, int column) const;

  TpteForm1& tableWindow_;
  QFrame* card_ = nullptr;
  QLabel* labels_[10] = {};
  QLabel* panel3_ = nullptr;
  QListWidget* listBox1_ = nullptr;
  QPushButton* button1_ = nullptr;
  QTableWidget* stringGrid1_ = nullptr;
};

}  // namespace periodic
