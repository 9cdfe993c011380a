// SaveConversionScreenshots.
#include "conversion/conversion_screenshots.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_window.h"
#include "app/tool_screenshots.h"
#include "constants/category_dialog.h"
#include "constants/const_delete_dialog.h"
#include "conversion/conversion_table_window.h"
#include "conversion/convert_unit_window.h"
#include "conversion/definition_dialog.h"
#include "conversion/unit_conversion.h"

namespace conversion {

namespace {

bool Grab(QWidget* shown, const QString& folder) {
  QApplication::processEvents();
  return app::SavePicture(shown, folder);
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
  bool saved = Grab(&convert, folder);

  window.DefConversions1Click();
  TForm17& table = *window.ConversionTableWindow();
  table.ShowTable(window.Conversion().Table().Find("Length"));
  saved = Grab(&table, folder) && saved;
  table.EditRow(11);  // inches - centimeters
  saved = Grab(table.DefinitionDialog(), folder) && saved;
  table.DefinitionDialog()->close();
  table.DeleteDefinition1Click();
  saved = Grab(table.DeleteDialog(), folder) && saved;
  table.DeleteDialog()->close();
  table.EditCategory1Click();
  saved = Grab(table.NameDialog(), folder) && saved;
  table.NameDialog()->close();
  table.close();
  convert.close();
  return saved;
}

}  // namespace conversion
