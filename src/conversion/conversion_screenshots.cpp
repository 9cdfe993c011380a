// SaveConversionScreenshots.
#include "conversion/conversion_screenshots.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_window.h"
#include "constants/category_dialog.h"
#include "constants/const_delete_dialog.h"
#include "conversion/conversion_table_window.h"
#include "conversion/convert_unit_window.h"
#include "conversion/definition_dialog.h"
#include "conversion/unit_conversion.h"

namespace conversion {

namespace {

bool Grab(QWidget* shown, const QString& path) {
  QApplication::processEvents();
  return shown->grab().save(path);
}

void Choose(QComboBox* box, const QString& text) {
  box->setCurrentIndex(box->findText(text));
}

}  // namespace

bool SaveConversionScreenshots(app::TForm1& window, const QString& folder) {
  window.Conversion1Click();
  TForm21& convert = *window.ConvertUnitWindow();
  convert.Button1Click();
  Choose(convert.CategoryBox(), "Angles");
  Choose(convert.FromBox(), "degrees");
  Choose(convert.ToBox(), "pi radians");
  convert.ExpressionEdit()->setText("100");
  convert.Button3Click();
  bool saved = Grab(&convert, folder + "/convert_unit.png");

  window.DefConversions1Click();
  TForm17& table = *window.ConversionTableWindow();
  table.ShowTable(window.Conversion().Table().Find("Length"));
  saved = Grab(&table, folder + "/conversion_table.png") && saved;
  table.EditRow(11);  // inches - centimeters
  saved = Grab(table.DefinitionDialog(), folder + "/conversion_definition.png") && saved;
  table.DefinitionDialog()->close();
  table.DeleteDefinition1Click();
  saved = Grab(table.DeleteDialog(), folder + "/conversion_delete.png") && saved;
  table.DeleteDialog()->close();
  table.EditCategory1Click();
  saved = Grab(table.NameDialog(), folder + "/conversion_name.png") && saved;
  table.NameDialog()->close();
  table.close();
  convert.close();
  return saved;
}

}  // namespace conversion
